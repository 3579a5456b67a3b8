#!/usr/bin/env bash
# The results list's context menu with the real mouse: the right button on a row opens it,
# "Remove Duplicate Rows" and then "Sort A to Z" are clicked in it, the rows are read back as a
# screen reader reads them, and Ctrl+Z on the list brings back the order before the sort.
# Leaves a screenshot of the open menu.
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
# The menu's items with Undo enabled or not; the rest are enabled over a list with a selection.
items_with_undo() {
    printf '%s\tenabled\n' 'Copy Row' 'Trim Spaces' 'Remove Empty Rows' \
        'Remove Duplicate Rows' 'Remove Duplicate Rows (Ignore Case)' 'Sort A to Z' 'Sort Z to A'
    printf 'Undo\t%s' "$1"
}

# The first row of the results list, in the window's own coordinates as designed: the list
# starts 192 pixels down, under its header.
first_row=(100 225)

start_program "$program"
split_line 'pear,apple,,pear, fig'
wait_for 60 "the split's rows" rows_are $'pear\napple\n\npear\n fig'

open_menu
wait_for 60 "the menu's items, Undo disabled" output_is "$(items_with_undo disabled)" menu items
choose 'Remove Duplicate Rows'
wait_for 30 "the repeated pear to go" rows_are $'pear\napple\n\n fig'

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

status=0
close_program || status=$?
echo "exit status $status; screenshot in $out/tidy_menu.png"
exit "$status"
