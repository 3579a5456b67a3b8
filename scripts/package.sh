#!/usr/bin/env bash
# Sets up what is needed, builds the program and makes its Debian package:
# build/quorvane_<version>_amd64.deb. Install it with: apt install ./build/quorvane_*.deb
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$here/setup.sh"
dir="$(bash "$here/build.sh" | tail -n 1)"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/quorvane_*.deb
