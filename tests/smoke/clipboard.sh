#!/usr/bin/env bash
# The clipboard text of a results list of 100,000 rows goes on the real X clipboard and comes
# back byte for byte through xclip, while the program keeps serving it.
set -euo pipefail
build_dir="$2"
bench="$build_dir/bench/bench_save_copy"
for tool in Xvfb xclip tr; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
[ -x "$bench" ] || { echo "missing $bench (build the bench_save_copy target)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unset QT_QPA_PLATFORM
output="$(bash "$(dirname "$0")/support/x_session.sh" "$bench" 100000 "$work" --real-clipboard 2>&1)" || {
    echo "$output"
    exit 1
}
echo "$output"
grep -q "same bytes: yes" <<<"$output"
