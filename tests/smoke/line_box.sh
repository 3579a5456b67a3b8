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

inner() {
    local program="$1" out="$2"
    "$program" >"$out/program.log" 2>&1 &
    local pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    local wid
    wid="$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvane$' | head -n 1)"
    xdotool windowfocus --sync "$wid" || true
    sleep 0.5

    # Text1 sits 360 x 900 twips into the client area, 488 x 22 pixels at 96 dpi.
    readback() {
        xdotool key --clearmodifiers ctrl+a ctrl+c
        sleep 0.3
        xclip -selection clipboard -o
    }
    xdotool mousemove --window "$wid" 150 71 click 1
    sleep 0.2
    xdotool type --delay 20 'alpha beta'
    [ "$(readback)" = 'alpha beta' ] || { echo "typing: got '$(readback)'" >&2; return 1; }

    xdotool key End shift+Home
    xdotool type --delay 20 'gamma'
    [ "$(readback)" = 'gamma' ] || { echo "typing over a selection: got '$(readback)'" >&2; return 1; }

    # A long line from another program, with a tab and a CR LF that must survive unchanged.
    python3 - "$out/long.txt" <<'PY'
import sys
with open(sys.argv[1], "w", newline="") as f:
    f.write("first\tsecond\r\n" + ",".join(f"{i:07d}" for i in range(375000)))
PY
    xclip -selection clipboard -i "$out/long.txt"
    sleep 0.3
    xdotool key End ctrl+v
    sleep 1
    readback >"$out/readback.txt"
    printf 'gamma' | cat - "$out/long.txt" >"$out/expected.txt"
    cmp "$out/expected.txt" "$out/readback.txt" || { echo "paste changed the line" >&2; return 1; }

    # Leave the end of the line in view with a few characters selected, for the screenshot.
    xdotool key End shift+Left shift+Left shift+Left shift+Left
    sleep 0.5
    import -window root "$out/line_box.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    trap - EXIT
}
inner "$program" "$out"
