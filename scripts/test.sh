#!/usr/bin/env bash
# Sets up everything, builds, and runs every test. Pass --sanitize for the
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$here/setup.sh"
dir="$(bash "$here/build.sh" --strict "$@" | tail -n 1)"
export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = "--sanitize" ]; then
    export LSAN_OPTIONS="suppressions=$here/../tests/sanitizer/lsan.supp:print_suppressions=0"
fi
cd "$dir"
ctest --output-on-failure -j "$(nproc)"
