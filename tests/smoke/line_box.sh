#!/usr/bin/env bash
# The long line box in the real program under X: click into "Paste Long Line Here", type,
# select and type over, paste a 3 MB line with a tab and a line break from another program,
# and read the box back through the clipboard. Leaves a screenshot in the build folder.
set -euo pipefail
program="$1"
build="$2"
for tool in Xvfb xdotool xclip import cmp; do
    command -v "$tool" >/dev/null || { echo "line_box: $tool is missing" >&2; exit 1; }
done
out="$build/smoke_line_box"
if [ "${LINE_BOX_UNDER_X:-}" != 1 ]; then
    rm -rf "$out"
    mkdir -p "$out"
    LINE_BOX_UNDER_X=1 bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$program" "$build"
    echo "line_box: typed, selected and pasted; screenshot in $out/line_box.png"
    exit 0
fi

source "$(dirname "$0")/support/wait_for.sh"

# Keys are handled in order, so a copy after them sees every key sent before it; what is left
# to wait for is the clipboard, which another program reads in its own time.
clipboard_is() {
    local got
    got="$(xclip -selection clipboard -o)"
    [ "$got" = "$1" ] || { echo "the clipboard holds '$got'" >&2; return 1; }
}
clipboard_is_file() {  # expected file, where to put what the clipboard holds
    xclip -selection clipboard -o >"$2" && cmp "$1" "$2"
}
expect_box() {  # text, what was done
    xdotool key --clearmodifiers ctrl+a ctrl+c
    wait_for 10 "the box to read '$1' after $2" clipboard_is "$1"
}
active_is() { [ "$(xdotool getactivewindow)" = "$1" ]; }

inner() {
    local program="$1" out="$2"
    "$program" >"$out/program.log" 2>&1 &
    local pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    local wid
    wid="$(wait_for 30 "the main window" xdotool search --onlyvisible --name '^Quorvane$')"
    wid="$(head -n 1 <<<"$wid")"
    xdotool windowactivate "$wid"
    wait_for 10 "the main window to become active" active_is "$wid"

    # Text1 sits 360 x 900 twips into the client area, 488 x 22 pixels at 96 dpi.
    xdotool mousemove --window "$wid" 150 71 click 1
    xdotool type --delay 20 'alpha beta'
    expect_box 'alpha beta' 'typing'

    xdotool key End shift+Home
    xdotool type --delay 20 'gamma'
    expect_box 'gamma' 'typing over a selection'

    # A long line from another program, with a tab and a CR LF that must survive unchanged.
    python3 - "$out/long.txt" <<'PY'
import sys
with open(sys.argv[1], "w", newline="") as f:
    f.write("first\tsecond\r\n" + ",".join(f"{i:07d}" for i in range(375000)))
PY
    xclip -selection clipboard -i "$out/long.txt"
    wait_for 10 "xclip to offer the long line" clipboard_is_file "$out/long.txt" "$out/offered.txt"
    xdotool key End ctrl+v
    printf 'gamma' | cat - "$out/long.txt" >"$out/expected.txt"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    wait_for 20 "the box to read back the pasted line unchanged" \
        clipboard_is_file "$out/expected.txt" "$out/readback.txt"

    # Leave the end of the line in view with a few characters selected, for the screenshot;
    # copying the selection shows when those keys have been handled.
    xdotool key End shift+Left shift+Left shift+Left shift+Left ctrl+c
    wait_for 10 "the last four characters to be selected" clipboard_is '4999'
    # Qt paints on a later pass of its event loop, and nothing outside shows when it has.
    sleep 0.2
    import -window root "$out/line_box.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    trap - EXIT
}
inner "$program" "$out"
