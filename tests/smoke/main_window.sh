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
source "$(dirname "$0")/support/main_window_steps.sh"

start_program "$program"
split_line 'alpha,beta,gamma,delta'
import -window root "$out/main_window.png"

# The rows, as another program sees them after "Copy Results To Clipboard".
click 136 366
dismiss_box "a confirmation box after copying"
expected=$(printf 'alpha\r\nbeta\r\ngamma\r\ndelta\r\n' | od -c)
clipboard_holds_rows() {
    local actual
    actual=$(xclip -o -selection clipboard | od -c)
    [ "$actual" = "$expected" ] || { echo "the clipboard holds something else: $actual" >&2; return 1; }
}
wait_for 5 "the clipboard to hold the four rows" clipboard_holds_rows

# Without a display: one line that names the display looked for, and exit status 1.
no_display=0
message=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "$program" 2>&1) || no_display=$?
[ "$no_display" = 1 ] && [ "$message" = "quorvane: no display could be opened (DISPLAY=:97)" ] ||
    { echo "without a display: status $no_display, said: $message" >&2; exit 1; }

status=0
close_program || status=$?
echo "exit status $status; screenshot in $out/main_window.png"
exit "$status"
