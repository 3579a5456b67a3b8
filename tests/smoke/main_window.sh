#!/usr/bin/env bash
# The real program in a real X session: type a line, split it, dismiss "Done.", take a
# screenshot, close the window and expect a clean exit.
set -euo pipefail
program="$1"
out="$2/smoke"
mkdir -p "$out"

if [ -z "${SMOKE_INNER:-}" ]; then
    exec env SMOKE_INNER=1 bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$@"
fi
source "$(dirname "$0")/support/wait_for.sh"

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# The first visible window named "Quorvane" other than the one given (none: any of them).
quorvane_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Quorvane$'); do
        [ "$id" != "${1:-}" ] && { echo "$id"; return 0; }
    done
    return 1
}
gone() { ! quorvane_window "$window" >/dev/null; }
not_running() { ! kill -0 "$pid" 2>/dev/null; }

window=$(wait_for 30 "the main window" quorvane_window)

xdotool windowactivate --sync "$window"
# Places are in the window's own coordinates, as designed.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

click 268 62        # into "Paste Long Line Here"
xdotool type --delay 5 'alpha,beta,gamma,delta'
click 268 170       # "Start Splitting"
done_box=$(wait_for 10 "the \"Done.\" box" quorvane_window "$window")
xdotool windowactivate --sync "$done_box" key Return
wait_for 5 "the \"Done.\" box to close" gone
import -window root "$out/main_window.png"

# The rows, as another program sees them after "Copy Results To Clipboard".
click 136 366
confirm=$(wait_for 10 "a confirmation box after copying" quorvane_window "$window")
xdotool windowactivate --sync "$confirm" key Return
wait_for 5 "the confirmation box to close" gone
expected=$(printf 'alpha\r\nbeta\r\ngamma\r\ndelta\r\n' | od -c)
clipboard_holds_rows() {
    local actual
    actual=$(xclip -o -selection clipboard | od -c)
    [ "$actual" = "$expected" ] || { echo "the clipboard holds something else: $actual" >&2; return 1; }
}
wait_for 5 "the clipboard to hold the four rows" clipboard_holds_rows

xdotool windowactivate --sync "$window" key alt+F4
wait_for 5 "the program to end when its main window closed" not_running
status=0
wait "$pid" || status=$?
trap - EXIT
echo "exit status $status; screenshot in $out/main_window.png"
exit "$status"
