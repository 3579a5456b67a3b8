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

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

window=""
for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window never appeared"; exit 1; }

xdotool windowactivate --sync "$window"
sleep 0.3
# Places are in the window's own coordinates, as designed.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }

click 268 62        # into "Paste Long Line Here"
xdotool type --delay 5 'alpha,beta,gamma,delta'
click 268 170       # "Start Splitting"
sleep 1
done_box=$(xdotool search --onlyvisible --name '^Quorvane$' | grep -v "^$window$" | head -n 1 || true)
[ -n "$done_box" ] || { echo "no \"Done.\" box appeared"; exit 1; }
xdotool windowactivate --sync "$done_box" key Return
sleep 0.5
import -window root "$out/main_window.png"

# The rows, as another program sees them after "Copy Results To Clipboard".
click 136 366
confirm=$(xdotool search --onlyvisible --name '^Quorvane$' | grep -v "^$window$" | head -n 1 || true)
[ -n "$confirm" ] || { echo "no confirmation box after copying"; exit 1; }
xdotool windowactivate --sync "$confirm" key Return
sleep 0.3
expected=$(printf 'alpha\r\nbeta\r\ngamma\r\ndelta\r\n' | od -c)
actual=$(xclip -o -selection clipboard | od -c)
if [ "$actual" != "$expected" ]; then
    echo "the clipboard holds something else:"
    echo "$actual"
    exit 1
fi

xdotool windowactivate --sync "$window" key alt+F4
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end when its main window closed"
    exit 1
fi
status=0
wait "$pid" || status=$?
trap - EXIT
echo "exit status $status; screenshot in $out/main_window.png"
exit "$status"
