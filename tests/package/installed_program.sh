#!/usr/bin/env bash
# In a real X session: /usr/bin/quorvane shows its window with its icon, and with the skin that
# it finds beside the program through the link (the skin recolours the window from white), and
# with the hand pointer from the same folder.
set -euo pipefail
source "$(dirname "$0")/../smoke/support/wait_for.sh"
source "$(dirname "$0")/../smoke/support/x_pointer.sh"
unset QT_QPA_PLATFORM

quorvane &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
main_window() { xdotool search --onlyvisible --pid "$pid" --name '^Quorvane$' | head -n 1 | grep .; }
window=$(wait_for 30 "the installed program's window" main_window)
# Read whole first: grep -q stops at the first icon, and xprop, cut off with more to write, would
# fail the pipe (pipefail) although the icon is there.
icons=$(xprop -id "$window" _NET_WM_ICON)
grep -q 'Icon (16 x 16)' <<<"$icons" ||
    { echo "the window has no 16 x 16 icon" >&2; exit 1; }
shot=$(mktemp --suffix=.png)
painted() {
    import -window "$window" "$shot" &&
        [[ $(convert "$shot" -crop 1x1+3+3 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1) != "#000000" ]]
}
wait_for 10 "the window to paint" painted
colour=$(convert "$shot" -crop 1x1+3+3 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1)
rm -f "$shot"
[[ "$colour" != "#FFFFFF" ]] || { echo "the window is white: the skin was not found" >&2; exit 1; }
# The hand pointer file, found the same way: the hand over "Start Splitting".
xdotool mousemove --window "$window" 268 171
xdotool mousemove --window "$window" 269 171
hand_shown() { [[ $(pointer_image) == 32x32+5+0 ]]; }
wait_for 5 "the hand pointer over a button" hand_shown
echo "installed program: window $window, icon set, background $colour"
xdotool windowactivate --sync "$window" key alt+F4
not_running() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 10 "the program to end" not_running
trap - EXIT
