#!/usr/bin/env bash
# Fails, naming the files and lines, when clang-format would change any C++ file under src/,
# tests/ or bench/. Format them with: clang-format-14 -i FILE...
# Version 14 is pinned: another version formats some constructs differently.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(cd "$here/.." && pwd)"
bash "$here/setup.sh"
cd "$top"
mapfile -d '' files < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
    sort -z)
if [ ${#files[@]} -eq 0 ]; then
    echo "check_format.sh: no C++ files found under src/, tests/ or bench/" >&2
    exit 1
fi
clang-format-14 --dry-run --Werror "${files[@]}"
echo "${#files[@]} C++ files formatted as .clang-format says"
