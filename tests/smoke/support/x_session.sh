#!/usr/bin/env bash
# Runs a command in a fresh X session of its own: Xvfb on a display number the server picks
# itself (so parallel sessions never race for one), with a window manager, so windows get
# title bars, focus and close buttons as on a desktop.
# Usage: x_session.sh COMMAND [ARG...]
set -euo pipefail
# shellcheck source=wait_for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

fd_file=$(mktemp)
# -br: the bare screen is black, so a window that has not painted yet is told apart from one
# that has (the scripts wait for that before they read colours off a screenshot).
Xvfb -displayfd 1 -screen 0 1280x1024x24 -br -nolisten tcp >"$fd_file" 2>/dev/null &
server=$!
# The number arrives as one line once the server listens.
if ! wait_for 10 "Xvfb to report its display number" grep -q '^[0-9][0-9]*$' "$fd_file"; then
    kill "$server" 2>/dev/null
    rm -f "$fd_file"
    exit 1
fi
display=$(head -n 1 "$fd_file")
rm -f "$fd_file"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

openbox >/dev/null 2>&1 &
wm=$!
cleanup() { kill "$wm" "$server" 2>/dev/null || true; }
trap cleanup EXIT
wm_ready() { [[ $(xprop -root _NET_SUPPORTING_WM_CHECK) == *"window id"* ]]; }
wait_for 10 "openbox to manage the screen" wm_ready

status=0
"$@" || status=$?
exit "$status"
