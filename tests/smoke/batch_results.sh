#!/usr/bin/env bash
# The batch window worked as a person does: two long lines typed in through "Add One Long Line",
# "," typed as the delimiter, "Start Splitting"; the results list then reads back over the
# accessibility bus as a table named " Output", is tidied with the real mouse through its
# context menu ("Remove Duplicate Rows", "Sort Z to A"), and Ctrl+Z undoes the sort.
# Leaves a screenshot of the batch window with the menu open.
# Usage: batch_results.sh <path-to-quorvane> <build-dir>
set -euo pipefail
program=$1
out="$2/smoke"
here=$(dirname "$0")
mkdir -p "$out"

if [[ -z "${SMOKE_INNER:-}" ]]; then
    for tool in Xvfb xdotool xwininfo import convert; do
        command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
    done
    exec env SMOKE_INNER=1 bash "$here/support/x_session.sh" \
        bash "$here/support/a11y_session.sh" bash "$0" "$@"
fi
source "$here/support/wait_for.sh"
source "$here/support/main_window_steps.sh"
source "$here/support/context_menu_steps.sh"

table() { /usr/bin/python3 "$here/support/accessible_table.py" "$@"; }
rows_are() { output_is "$1" table rows ' Output'; }
shot="$out/batch_results_menu.png"
closed="$out/batch_results_closed.png"

# Places in the batch window's own coordinates, as designed (15 twips to the pixel). The first
# row of the results list lies under its header, which starts 367 pixels down.
first_row=(100 400)

add_line() {
    click 136 181       # "Add One Long Line"
    local box
    box=$(wait_for 30 "the \"Enter Long Line: \" box" quorvane_window "$window")
    xdotool windowactivate --sync "$box" type --delay 5 "$1"
    xdotool key Return
    wait_for 10 "the \"Enter Long Line: \" box to close" box_gone
}

start_program "$program"
main=$window
xdotool mousemove --window "$main" 392 21 click 1   # "Split Multiple Long Lines At Once"
window=$(wait_for 30 "the batch window" quorvane_window "$main")
xdotool windowactivate --sync "$window"

add_line 'b,a,c'
add_line 'a,d'
wait_for 30 "the long lines" output_is $'b,a,c\na,d' table rows ' Long Line(s)'
click 268 303       # into the delimiter box, which holds "," already: typed over
xdotool key ctrl+a
xdotool type ','
click 268 347       # "Start Splitting"
dismiss_box "the \"Done.\" box"
wait_for 60 "the pieces of both lines" rows_are $'b\na\nc\na\nd'
wait_for 30 "the column header \" Output\"" output_is ' Output' table headers ' Output'

open_menu
choose 'Remove Duplicate Rows'
wait_for 30 "the second a to go" rows_are $'b\na\nc\nd'

import -window root "$closed"
open_menu
point_at 'Sort Z to A'
wait_for 30 "a screenshot of the open menu" menu_painted "$shot" "$closed"
# Cut to the window with its frame: xwininfo gives the client area and its place in the frame.
read -r x y left top width height <<<"$(xwininfo -id "$window" | awk -F: '
    /Absolute upper-left|Relative upper-left|Width|Height/ { printf "%d ", $2 }')"
convert "$shot" -crop "$((width + 2 * left))x$((height + top + left))+$((x - left))+$((y - top))" \
    +repage "$shot"
choose 'Sort Z to A'
wait_for 30 "the rows from Z to A" rows_are $'d\nc\nb\na'

# A click on a row gives the list the focus that Ctrl+Z needs.
xdotool mousemove --window "$window" "${first_row[@]}" click 1
xdotool key ctrl+z
wait_for 30 "Ctrl+Z to bring back the order before the sort" rows_are $'b\na\nc\nd'

# Closing the batch window brings the main window back; closing that ends the program.
xdotool windowactivate --sync "$window" key alt+F4
window=$(wait_for 30 "the main window back" quorvane_window "$window")
[[ "$window" == "$main" ]] || { echo "window $window came up, not the main window" >&2; exit 1; }
status=0
close_program || status=$?
echo "exit status $status; screenshot in $shot"
exit "$status"
