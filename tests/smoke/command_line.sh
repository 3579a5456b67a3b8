#!/usr/bin/env bash
# The real program's start-up, where no test inside a test program reaches: what its own
# command line does before Qt sees it, and descriptors closed by whoever started it.
set -uo pipefail
program="$1"
source "$(dirname "$0")/support/wait_for.sh"
failed=0
# expect STATUS TEXT COMMAND...: the command ends with STATUS and says TEXT on standard error.
expect() {
    local status=$1 text=$2 said actual=0
    shift 2
    said=$(timeout 20 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:97 "$@" 2>&1 >/dev/null) || actual=$?
    [[ $actual == "$status" && $said == *"$text"* ]] ||
        { echo "$*: status $actual, said: $said" >&2; failed=1; }
}
expect 1 "No space left" bash -c '"$1" --help >/dev/full' - "$program"
expect 2 "unknown option '--bogus'" "$program" --bogus
expect 1 "no display could be opened" "$program" -- -platform offscreen x.txt
expect 1 "standard output is closed" bash -c '"$1" --version >&-' - "$program"
# A descriptor closed at start is /dev/null, not whatever the program opens first.
QT_QPA_PLATFORM=offscreen "$program" <&- >&- 2>&- &
pid=$!
fd2_is_null() { [[ $(readlink "/proc/$pid/fd/2") == /dev/null ]]; }
wait_for 10 "descriptor 2 on /dev/null" fd2_is_null || failed=1
kill "$pid"
exit "$failed"
