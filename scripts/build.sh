#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize). --strict turns
# compiler warnings into errors, as CI builds.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
dir="$top/build"
extra=()
for arg in "$@"; do
    case "$arg" in
        --sanitize)
            dir="$top/build-sanitize"
            extra+=(-DQUORVANE_SANITIZE=ON)
            ;;
        --strict) extra+=(-DQUORVANE_WARNINGS_AS_ERRORS=ON) ;;
        *) echo "build.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
echo "$dir"
