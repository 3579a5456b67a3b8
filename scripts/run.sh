#!/usr/bin/env bash
# Sets up everything a fresh Debian 12 machine needs, builds the program alone (not the tests,
# which scripts/test.sh builds) into build-run/, and starts Quorvane, saying what it is doing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
echo "Checking the Debian packages Quorvane needs (scripts/debian-packages.txt)"
bash "$here/setup.sh"
# Not captured: the build shows its progress on the terminal as it goes.
bash "$here/build.sh" --program
dir="$(cd "$here/.." && pwd)/build-run"
echo "Starting $dir/quorvane"
exec "$dir/quorvane"
