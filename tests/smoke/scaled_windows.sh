#!/usr/bin/env bash
# The batch window at scale 2 on a too short screen: title bar on, a bottom button scrolls in.
# Usage: scaled_windows.sh <path-to-quorvane> <build-dir>
set -euo pipefail
[[ -n "${QUORVANE_SMOKE_IN_X:-}" ]] || QUORVANE_SMOKE_IN_X=1 QUORVANE_SMOKE_SCREEN=1600x1000x24 \
    exec bash "$(dirname "$0")/support/x_session.sh" bash "$0" "$@"
source "$(dirname "$0")/support/wait_for.sh"
shots=$2/scaled_windows
printf 'a,b\n' >"$shots.txt"
QT_SCALE_FACTOR=2 "$1" "$shots.txt" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
one_window() { [[ $(xdotool search --onlyvisible --pid "$pid" | wc -l) == 1 ]]; }
wait_for 30 "the batch window alone" one_window && sleep 1
batch=$(xdotool search --onlyvisible --pid "$pid")
eval "$(xdotool getwindowgeometry --shell "$batch")"
top=$(xprop -id "$batch" _NET_FRAME_EXTENTS | awk -F', ' '{print $3}')
(( Y - top >= 0 && Y + HEIGHT <= 1000 )) || { echo "off the screen: $Y-$top, $HEIGHT" >&2; exit 1; }
import -window root "$shots-top.png"
xdotool key --window "$batch" Tab Tab Tab Tab Tab Tab && sleep 1
import -window root "$shots-tabbed.png"
! cmp -s "$shots-top.png" "$shots-tabbed.png" || { echo "the view did not follow" >&2; exit 1; }
