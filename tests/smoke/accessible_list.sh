#!/usr/bin/env bash
# The results list as a screen reader meets it on the desktop's accessibility bus: a table named
# by its column header, whose rows read back by position, which takes a selection made through
# the bus as the list's own (Delete then removes that row), and is reached with Tab.
# Usage: accessible_list.sh <path-to-quorvane> <build-dir>
set -euo pipefail
program=$1
here=$(dirname "$0")

if [[ -z "${SMOKE_INNER:-}" ]]; then
    exec env SMOKE_INNER=1 bash "$here/support/x_session.sh" \
        bash "$here/support/a11y_session.sh" bash "$0" "$@"
fi
source "$here/support/wait_for.sh"
source "$here/support/main_window_steps.sh"

table() { /usr/bin/python3 "$here/support/accessible_table.py" "$@"; }

start_program "$program"
split_line 'alpha,beta,gamma,delta'

wait_for 60 "the table \"Output\" to read alpha, beta, gamma, delta" \
    output_is $'alpha\nbeta\ngamma\ndelta' table rows Output
wait_for 30 "the column header \"Output\"" output_is Output table headers Output
table select Output 1
wait_for 30 "row 1 (beta) to be the one selected" output_is 1 table selected Output
# Tab moves the focus without touching the selection, so what Delete removes is the row that
# was selected through the bus.
xdotool windowactivate --sync "$window"
table tab-to Output
xdotool key Delete
wait_for 30 "the table to read alpha, gamma, delta" \
    output_is $'alpha\ngamma\ndelta' table rows Output

close_program
