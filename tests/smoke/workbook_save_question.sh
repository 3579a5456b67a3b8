#!/usr/bin/env bash
# "Save Results As Excel File" as a person uses it: the batch window splits its sample line, the
# button hands the results to LibreOffice Calc, and closing Calc's window asks whether to save the
# new workbook, so the results are never lost without a word. Screenshot of the question left.
# Usage: workbook_save_question.sh <path-to-quorvane> <build-dir>
set -euo pipefail
program=$1
shot="$2/smoke/workbook_save_question.png"
here=$(dirname "$0")
mkdir -p "$2/smoke"
[[ -n "${SMOKE_INNER:-}" ]] || exec env SMOKE_INNER=1 bash "$here/support/x_session.sh" bash "$0" "$@"
source "$here/support/wait_for.sh"
source "$here/support/main_window_steps.sh"
source "$here/support/libreoffice_profile.sh"

# A home of the test's own: the export lands in its cache, LibreOffice reads its profile there.
work=$(mktemp -d)
export HOME="$work/home"
write_libreoffice_profile "$HOME/.config/libreoffice/4"
start_program "$program"
trap 'kill "$pid" $(office_processes "$HOME") 2>/dev/null || true; rm -rf "$work"' EXIT
main=$window
click 392 21        # "Split Multiple Long Lines At Once"
window=$(wait_for 30 "the batch window" quorvane_window "$main")
xdotool windowactivate --sync "$window"
click 136 249       # "Load Sample/Example Data"
click 268 303       # into the delimiter box
xdotool key ctrl+a
xdotool type ','
click 268 347       # "Start Splitting"
dismiss_box "the \"Done.\" box"
click 400 507       # "Save Results As Excel File"

calc_window() { xdotool search --name '^Untitled [0-9]+ - LibreOffice Calc$' | head -n 1 | grep .; }
question() { xdotool search --onlyvisible --name '^Save Document\?$' | head -n 1 | grep .; }
# A window not drawn yet is one flat colour; text and grid lines bring many.
drawn() { (( $(import -window "$1" png:- | convert png:- -format %k info:) > 16 )); }
calc=$(wait_for 120 "Calc to show the results as a new workbook" calc_window)
wait_for 30 "Calc to draw the workbook" drawn "$calc"
xdotool windowactivate --sync "$calc" key alt+F4
box=$(wait_for 30 "Calc to ask whether to save the new workbook" question)
wait_for 10 "Calc to draw its question" drawn "$box"
import -window root "$shot"
echo "save question smoke test passed; screenshot: $shot"
