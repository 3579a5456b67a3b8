#!/usr/bin/env bash
# Builds the code that works on threads with ThreadSanitizer into build-tsan/ (the tidy
# computations and actions, the background job, the soak of both windows) and runs their tests
# and the soak for SOAK_SECONDS (default 60). tests/sanitizer/tsan.supp names the reports
# inside Qt's own threads that are not the program's; any other report fails the run.
# Usage: bash scripts/tsan.sh [SOAK_SECONDS]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$here/.." && pwd)"
seconds=${1:-60}
bash "$here/setup.sh"
dir="$top/build-tsan"
tests=(test_row_tidying test_results_tidying test_background_job)
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVANE_WARNINGS_AS_ERRORS=ON -DQUORVANE_TSAN=ON >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${tests[@]}" soak_windows
export QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.qpa.*=false"
export TSAN_OPTIONS="suppressions=$top/tests/sanitizer/tsan.supp halt_on_error=1 exitcode=66 second_deadlock_stack=1"
# ThreadSanitizer needs the fixed memory layout that address randomisation can break.
run=()
if setarch "$(uname -m)" -R true 2>/dev/null; then run=(setarch "$(uname -m)" -R); fi
status=0
for test in "${tests[@]}"; do
    echo "== $test"
    "${run[@]}" "$dir/tests/$test" || status=1
done
echo "== soak_windows: $seconds s"
"${run[@]}" "$dir/tests/soak_windows" --seconds "$seconds" || status=1
exit $status
