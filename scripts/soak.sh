#!/usr/bin/env bash
# Runs the random-action soak of both windows (tests/soak/) under AddressSanitizer and
# UndefinedBehaviorSanitizer, from the build that `scripts/test.sh --sanitize` made in
# build-sanitize/, for SECONDS (default 120), from a start number taken from the clock and
# printed first. A fault prints the shortest failing sequence found and the command that
# replays it; a crash or a hang prints the command that replays the round up to that step.
# Usage: bash scripts/soak.sh [SECONDS]
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=${1:-120}
dir="$top/build-sanitize"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    bash "$top/scripts/build.sh" --strict --sanitize >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" --target soak_windows
export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.qpa.*=false"
export LSAN_OPTIONS="suppressions=$top/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1"
"$dir/tests/soak_windows" --seconds "$seconds"
