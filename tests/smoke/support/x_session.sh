#!/usr/bin/env bash
# Runs a command in a fresh X session of its own: Xvfb on a display number the server picks
# itself (so parallel sessions never race for one), with a window manager, so windows get
# title bars, focus and close buttons as on a desktop.
# Usage: x_session.sh COMMAND [ARG...]
set -euo pipefail

fd_file=$(mktemp)
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$fd_file" 2>/dev/null &
server=$!
for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
done
display=$(head -n 1 "$fd_file")
rm -f "$fd_file"
[ -n "$display" ] || { echo "Xvfb did not start" >&2; kill "$server" 2>/dev/null; exit 1; }
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

openbox >/dev/null 2>&1 &
wm=$!
cleanup() { kill "$wm" "$server" 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 1 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

status=0
"$@" || status=$?
exit "$status"
