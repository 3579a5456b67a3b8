#!/usr/bin/env bash
# The real open dialog of "Load Long Lines From Text File": every name typed into it comes back
# to the program, existing or not, so each missing one gets the program's own "File not found"
# box (titled like the program, after the dialog has closed) and loading goes on with the next.
# Usage: open_dialog.sh <path-to-quorvane> <build-dir>
set -euo pipefail

program=$1

for tool in Xvfb xdotool xclip; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

if [[ -z "${QUORVANE_SMOKE_IN_X:-}" ]]; then
    QUORVANE_SMOKE_IN_X=1 exec bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$@"
fi
source "$(dirname "$0")/support/wait_for.sh"

unset QT_QPA_PLATFORM
work=$(mktemp -d)
printf 'a1,a2' >"$work/a.txt"
printf 'b1' >"$work/b.txt"

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT

# Visible windows named exactly NAME, other than those given.
window_named() {
    local name=$1 id
    shift
    for id in $(xdotool search --onlyvisible --name "^${name}\$"); do
        [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
    done
    return 1
}
none_named() { ! window_named "$@" >/dev/null; }
dialog_title='Load List\(s\) - Hold Ctrl to select multiple list files'
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

main=$(wait_for 30 "the main window" window_named Quorvane)
xdotool windowactivate --sync "$main"
click "$main" 392 21  # "Split Multiple Long Lines At Once"
batch=$(wait_for 10 "the batch window" window_named Quorvane "$main")

# Types NAMES into a new open dialog and expects one "File not found" box per missing name.
load() {
    local names=$1 missing=$2
    xdotool windowactivate --sync "$batch"
    click "$batch" 136 215  # "Load Long Lines From Text File"
    local dialog
    dialog=$(wait_for 10 "the open dialog" window_named "$dialog_title")
    xdotool windowactivate --sync "$dialog"
    xdotool key ctrl+a
    xdotool type --delay 5 "$names"
    xdotool key Return
    for ((i = 0; i < missing; ++i)); do
        local box
        box=$(wait_for 10 "\"File not found\" box $((i + 1)) of $missing" \
            window_named Quorvane "$main" "$batch")
        # The program's box, not one of the dialog's own: the dialog has gone.
        none_named "$dialog_title" || { echo "the dialog answered $names itself" >&2; exit 1; }
        xdotool windowactivate --sync "$box" key Return
        wait_for 5 "the box to close" none_named Quorvane "$main" "$batch"
    done
    wait_for 5 "the dialog to close" none_named "$dialog_title"
}
load "\"$work/a.txt\" \"$work/missing.txt\" \"$work/b.txt\"" 1
load "$work/also-missing.txt" 1
if window_named Quorvane "$main" "$batch" >/dev/null; then
    echo "a box too many after the loads" >&2
    exit 1
fi

# What was loaded, as another program sees it: split at "," and copied.
xdotool windowactivate --sync "$batch"
click "$batch" 268 347  # "Start Splitting"
done_box=$(wait_for 10 "the \"Done.\" box" window_named Quorvane "$main" "$batch")
xdotool windowactivate --sync "$done_box" key Return
wait_for 5 "the \"Done.\" box to close" none_named Quorvane "$main" "$batch"
click "$batch" 136 541  # "Copy Results To Clipboard"
expected=$(printf 'a1\r\na2\r\nb1\r\n' | od -c)
clipboard_holds_rows() {
    local actual
    actual=$(xclip -o -selection clipboard | od -c)
    [[ "$actual" == "$expected" ]] || { echo "the clipboard holds $actual" >&2; return 1; }
}
wait_for 10 "the clipboard to hold the rows of a.txt and b.txt" clipboard_holds_rows
echo "open dialog smoke test passed"
