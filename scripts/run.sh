#!/usr/bin/env bash
# Sets up everything a fresh Debian 12 machine needs, builds, and starts Quorvane.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$here/setup.sh"
dir="$(bash "$here/build.sh" | tail -n 1)"
exec "$dir/quorvane"
