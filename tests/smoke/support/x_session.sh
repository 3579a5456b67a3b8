#!/usr/bin/env bash
# Runs a command in a fresh X session of its own: Xvfb on a display number the server picks
# itself (so parallel sessions never race for one), with a window manager, so windows get
# title bars, focus and close buttons as on a desktop.
# Usage: x_session.sh COMMAND [ARG...]
set -euo pipefail
# shellcheck source=wait_for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

fd_file=$(mktemp)
wm_log=$(mktemp)
wm=
# -br: the bare screen is black, so a window that has not painted yet is told apart from one
# that has (the scripts wait for that before they read colours off a screenshot).
# -noreset: the probes below come and go as clients; the last one leaving must not reset the
# server under a client that is just connecting.
Xvfb -displayfd 1 -screen 0 "${QUORVANE_SMOKE_SCREEN:-1280x1024x24}" -br -noreset -nolisten tcp >"$fd_file" 2>/dev/null &
server=$!
# Waits for both to go, so the next session never starts beside a server still shutting down.
cleanup() {
    kill $wm "$server" 2>/dev/null || true
    wait $wm "$server" 2>/dev/null || true
    rm -f "$fd_file" "$wm_log"
}
trap cleanup EXIT

# The number arrives as one line once the server listens.
wait_for 10 "Xvfb to report its display number" grep -q '^[0-9][0-9]*$' "$fd_file"
display=$(head -n 1 "$fd_file")
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
# Openbox gives up at once on a server that does not answer yet.
wait_for 10 "Xvfb to answer on $DISPLAY" xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null

openbox >"$wm_log" 2>&1 &
wm=$!
wm_ready() {
    kill -0 "$wm" 2>/dev/null || { echo "openbox has exited" >&2; return 1; }
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK) == *"window id"* ]]
}
if ! wait_for 30 "openbox to manage the screen" wm_ready; then
    sed 's/^/  openbox: /' "$wm_log" >&2
    exit 1
fi

status=0
"$@" || status=$?
exit "$status"
