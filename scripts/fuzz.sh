#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang (libFuzzer, ASan, UBSan) into build-fuzz/ and
# runs each for SECONDS (default 60) from its starting inputs in tests/fuzz/inputs/<target>/. New
# inputs it finds go to build-fuzz/found/, never into the repository. A crash, a leak, a timeout or
# running out of memory fails the run; the input that did it is kept in build-fuzz/findings/.
# Usage: bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$here/.." && pwd)"
seconds=${1:-60}
shift || true
bash "$here/setup.sh"
dir="$top/build-fuzz"
cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DBUILD_TESTING=OFF -DQUORVANE_FUZZ=ON >/dev/null
cmake --build "$dir" -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for binary in "$dir"/tests/fuzz/fuzz_*; do
        [ -x "$binary" ] && [ -f "$binary" ] && targets+=("$(basename "$binary")")
    done
fi
mkdir -p "$dir/findings"
status=0
for target in "${targets[@]}"; do
    work="$dir/found/$target"
    mkdir -p "$work"
    echo "== $target: $seconds s"
    # -timeout and -rss_limit_mb make a hang or a runaway allocation a finding too.
    if ! QT_QPA_PLATFORM=offscreen "$dir/tests/fuzz/$target" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/findings/$target-" "$work" "$top/tests/fuzz/inputs/$target" \
        >"$dir/$target.log" 2>&1; then
        status=1
        echo "$target FAILED; its log: $dir/$target.log" >&2
        tail -n 40 "$dir/$target.log" >&2
    fi
    grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$dir/$target.log" || true
done
exit $status
