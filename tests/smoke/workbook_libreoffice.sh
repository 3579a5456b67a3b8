#!/usr/bin/env bash
# A workbook export read by LibreOffice itself: converted to CSV headless (every cell shows
# exactly the row's text: no formula, no number, no decoded escape), then opened as the button
# opens it, as an untitled document in a real X session, with a screenshot to look at.
# Usage: workbook_libreoffice.sh <path-to-quorvane> <build-dir>
set -euo pipefail

build_dir=$2
writer="$build_dir/bench/bench_workbook_export"

for tool in Xvfb xdotool import convert python3 soffice; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
[[ -x "$writer" ]] || { echo "missing $writer (build the bench_workbook_export target)" >&2; exit 1; }

if [[ -z "${QUORVANE_SMOKE_IN_X:-}" ]]; then
    QUORVANE_SMOKE_IN_X=1 exec bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$@"
fi
source "$(dirname "$0")/support/wait_for.sh"
source "$(dirname "$0")/support/libreoffice_profile.sh"

unset QT_QPA_PLATFORM
work=$(mktemp -d)
office_pid=
cleanup() {
    if [[ -n "$office_pid" ]]; then
        # shellcheck disable=SC2086
        kill $office_pid 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A private LibreOffice profile: no first-start dialogs, nothing of the user's touched.
profile="$work/profile"
write_libreoffice_profile "$profile"

# 1. Headless: the cells as LibreOffice reads them.
file=$("$writer" --sample "$work/export")
[[ -s "$file" ]] || { echo "no export written" >&2; exit 1; }
soffice --headless "-env:UserInstallation=file://$profile" \
    --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1' --outdir "$work/csv" "$file" >/dev/null
csv="$work/csv/$(basename "${file%.xlsx}").csv"
python3 - "$csv" <<'PY'
import csv, sys
with open(sys.argv[1], encoding="utf-8", newline="") as f:
    cells = [row[0] if row else "" for row in csv.reader(f)]
expected = [" Output", "one", "", "three", "=1+2", "0012", "_x0041_",
            "a rather longer row that widens the column", "äöü €",
            "ctrl\x01\x07\x1b end", "nul\x00after"]
if cells != expected:
    sys.exit(f"LibreOffice read {cells!r}, expected {expected!r}")
PY

# 2. In X: the export handed over as the button hands it without the LibreOffice helper beside
# the program (soffice --calc -n FILE, detached): the helper is tried by workbook_save_question.sh.
export HOME="$work/home"
mkdir -p "$HOME/.config/libreoffice/4"
cp -r "$profile/user" "$HOME/.config/libreoffice/4/user"
# Into a file, not a pipe: the detached LibreOffice inherits the output and keeps a pipe open.
"$writer" --sample "$work/shown" --open >"$work/shown.txt"
shown=$(cat "$work/shown.txt")
untitled_window() {
    local ids
    ids=$(xdotool search --name "^Untitled") && head -n1 <<<"$ids"
}
window=$(wait_for 60 "LibreOffice to show an untitled document for $shown" untitled_window)
# The processes showing our export, found by its unique path (the window carries no pid).
office_pid=$(pgrep -f -- "$shown" | tr '\n' ' ' || true)
xdotool windowsize "$window" 1200 900 windowmove "$window" 0 0 2>/dev/null || true
screenshot="$build_dir/workbook_libreoffice.png"
# Once LibreOffice has drawn the sheet, the window's middle shows cells between grid lines;
# before that it is one flat colour (the bare screen, or an empty frame).
sheet_drawn() {
    xdotool getwindowgeometry "$window" | grep -q "Geometry: 1200x900" &&
        import -window root "$screenshot" &&
        (( $(convert "$screenshot" -crop 120x120+540+390 -format %k info:) > 1 ))
}
wait_for 30 "the LibreOffice window to take 1200 x 900 and draw the sheet" sheet_drawn
[[ -s "$screenshot" ]] || { echo "no screenshot" >&2; exit 1; }
title=$(xdotool getwindowname "$window")
[[ "$title" == Untitled* ]] || { echo "unexpected window title: $title" >&2; exit 1; }
[[ -s "$shown" ]] || { echo "the handed-over export is gone" >&2; exit 1; }
echo "workbook smoke test passed; window \"$title\"; screenshot: $screenshot"
