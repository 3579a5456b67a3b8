#!/usr/bin/env bash
# The results list's context menu with the real mouse: the right button on a row opens it,
# "Remove Duplicate Rows" and then "Sort A to Z" are clicked in it, the rows are read back as a
# screen reader reads them, and Ctrl+Z on the list brings back the order before the sort. The
# list's description starts with its row count; the "List Actions" button opens the same menu,
# whose Redo sorts again, and "Copy As One Line…" puts the rows on the clipboard joined by the
# split's delimiter. Leaves a screenshot of the open menu.
# Usage: tidy_menu.sh <path-to-quorvane> <build-dir>
set -euo pipefail
program=$1
out="$2/smoke"
here=$(dirname "$0")
mkdir -p "$out"

if [[ -z "${SMOKE_INNER:-}" ]]; then
    for tool in Xvfb xdotool import convert; do
        command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
    done
    exec env SMOKE_INNER=1 bash "$here/support/x_session.sh" \
        bash "$here/support/a11y_session.sh" bash "$0" "$@"
fi
source "$here/support/wait_for.sh"
source "$here/support/main_window_steps.sh"
source "$here/support/context_menu_steps.sh"

table() { /usr/bin/python3 "$here/support/accessible_table.py" "$@"; }
rows_are() { output_is "$1" table rows Output; }
# The count, then the tooltip, which the main window's list has.
count_is() {
    output_is "$1. Double-click item to remove it. Move | line to right and out of window to \
reveal full names." table description Output
}
# The menu's items with Undo and Redo enabled or not; the rest are enabled over a list with a
# selection.
items_with_undo() {
    printf '%s\tenabled\n' 'Clean Up…' 'Copy Row' 'Copy As One Line…' 'Trim Spaces' 'Remove Empty Rows' \
        'Remove Duplicate Rows' 'Remove Duplicate Rows (Ignore Case)' 'Sort A to Z' \
        'Sort Z to A'
    printf 'Undo\t%s\nRedo\t%s' "$1" "${2:-disabled}"
}

# The first row of the results list, in the window's own coordinates as designed: the list
# starts 192 pixels down, under its header.
first_row=(100 225)

start_program "$program"
split_line 'pear,apple,,pear, fig'
wait_for 60 "the split's rows" rows_are $'pear\napple\n\npear\n fig'
wait_for 30 "the count of the split's rows" count_is '5 rows'

open_menu
wait_for 60 "the menu's items, Undo disabled" output_is "$(items_with_undo disabled)" menu items
choose 'Remove Duplicate Rows'
wait_for 30 "the repeated pear to go" rows_are $'pear\napple\n\n fig'
# What the action did shows for a few seconds, then the count again.
wait_for 30 "the count after the removal" count_is '4 rows'

import -window root "$out/tidy_menu_closed.png"
open_menu
wait_for 60 "the menu's items, Undo enabled" output_is "$(items_with_undo enabled)" menu items
point_at 'Sort A to Z'
wait_for 30 "a screenshot of the open menu" \
    menu_painted "$out/tidy_menu.png" "$out/tidy_menu_closed.png"
choose 'Sort A to Z'
wait_for 30 "the rows in order" rows_are $'\n fig\napple\npear'

# A click on a row gives the list the focus that Ctrl+Z needs.
xdotool mousemove --window "$window" "${first_row[@]}" click 1
xdotool key ctrl+z
wait_for 30 "Ctrl+Z to bring back the order before the sort" rows_are $'pear\napple\n\n fig'

# The button beside the count opens the same menu, with Redo now enabled.
read -r x y width height <<<"$(wait_for 60 "the List Actions button" table button 'List Actions')"
xdotool mousemove $((x + width / 2)) $((y + height / 2)) click 1
wait_for 30 "the menu to open from the button" menu_window >/dev/null
wait_for 60 "the menu's items, Redo enabled" \
    output_is "$(items_with_undo enabled enabled)" menu items
choose 'Redo'
wait_for 30 "Redo to sort again" rows_are $'\n fig\napple\npear'

# "Copy As One Line…" offers the split's comma first, and Return presses its "Copy".
open_menu
# The dialog, a window of its own, takes the menu's place: choose() would wait for neither.
point_at 'Copy As One Line…'
xdotool click 1
wait_for 30 "the Copy As One Line dialog" xdotool search --onlyvisible --name '^Copy As One Line$'
xdotool key Return
wait_for 30 "what the copy did" count_is 'Copied 4 rows as one line (16 characters)'
wait_for 30 "the rows as one line" output_is ', fig,apple,pear' xclip -o -selection clipboard

status=0
close_program || status=$?
echo "exit status $status; screenshot in $out/tidy_menu.png"
exit "$status"
