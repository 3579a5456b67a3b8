#!/usr/bin/env bash
# The real program in a real X session: the main window opens the batch window, which goes
# back with "< Back" and with its close button; closing the main window then ends the program.
# Usage: batch_window.sh <path-to-quorvane> <build-dir>
set -euo pipefail

program=$1
build_dir=$2

for tool in Xvfb xdotool xprop import python3; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

if [[ -z "${QUORVANE_SMOKE_IN_X:-}" ]]; then
    QUORVANE_SMOKE_IN_X=1 exec bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$@"
fi
source "$(dirname "$0")/support/wait_for.sh"

unset QT_QPA_PLATFORM
screenshot="$build_dir/batch_window.png"
rm -f "$screenshot"

# There is no window manager, so the close button is a WM_DELETE_WINDOW message sent by hand.
close_window() {
    python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_char * 96)]

display = x.XOpenDisplay(None)
event = ClientMessage()
event.type = 33  # ClientMessage
event.window = int(sys.argv[1])
event.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.format = 32
event.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(display, event.window, 0, 0, ctypes.byref(event))
x.XFlush(display)
x.XCloseDisplay(display)
PY
}

# The one visible window of the program with the given client size.
window_of_size() {
    local want=$1
    for id in $(xdotool search --onlyvisible --pid "$pid"); do
        if xdotool getwindowgeometry "$id" | grep -q "Geometry: $want"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

visible_window_of_size() {
    wait_for 30 "a visible window of size $1" window_of_size "$1"
}

hidden() {
    local shown
    shown=$(xdotool search --onlyvisible --pid "$pid") || true
    ! grep -qx "$1" <<<"$shown"
}

expect_hidden() {
    local id=$1 what=$2
    wait_for 5 "$what to hide" hidden "$id" || exit 1
}

# The decorations a window asks the window manager for (Motif hints: 0x20 is the minimize
# button, 0x40 the maximize button). Some window managers, openbox among them, draw both
# buttons whatever is asked; the request is what the program controls.
expect_buttons() {
    local id=$1 what=$2 want=$3
    local decorations
    decorations=$(xprop -id "$id" _MOTIF_WM_HINTS | awk -F', ' '{print $3}')
    local got=$(( decorations & 0x60 ))
    if (( got != want )); then
        echo "$what asks for buttons $(printf '0x%x' "$got"), not $(printf '0x%x' "$want")" >&2
        exit 1
    fi
}

not_running() { ! kill -0 "$1" 2>/dev/null; }

click_at() {  # window, x, y in the window's client area
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

main=$(visible_window_of_size 536x423)
expect_buttons "$main" "the main window" 0x20  # minimize only
# "Split Multiple Long Lines At Once": 3840, 120, 4080 x 405 twips.
click_at "$main" 392 21
batch=$(visible_window_of_size 536x599)
expect_buttons "$batch" "the batch window" 0x0  # neither
expect_hidden "$main" "the main window"
import -window root "$screenshot"
[[ -s "$screenshot" ]] || { echo "no screenshot" >&2; exit 1; }

# "< Back": 120, 120, 7800 x 405 twips.
click_at "$batch" 268 21
main=$(visible_window_of_size 536x423)
expect_hidden "$batch" "the batch window after < Back"

# A second opening, left with the close button: the program keeps running.
click_at "$main" 392 21
batch=$(visible_window_of_size 536x599)
close_window "$batch"
main=$(visible_window_of_size 536x423)
kill -0 "$pid" || { echo "the program ended with the batch window" >&2; exit 1; }

close_window "$main"
wait_for 5 "the program to end with its main window" not_running "$pid"
trap - EXIT
wait "$pid"
echo "batch window smoke test passed; screenshot: $screenshot"
