#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize, or the program alone
# into build-run/ with --program). --strict turns compiler warnings into errors, as CI builds.
# Says what it does; the last line it prints is the build folder.
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
        --program)
            # For the run command: no tests or benchmarks to wait for before the window shows.
            dir="$top/build-run"
            extra+=(-DBUILD_TESTING=OFF)
            ;;
        *) echo "build.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done
echo "Configuring the build in $dir"
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
echo "Building in $dir, $(nproc) jobs at a time (the first build takes a few minutes)"
cmake --build "$dir" -j "$(nproc)"
echo "$dir"
