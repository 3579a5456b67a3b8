#!/usr/bin/env bash
# Installs every Debian package listed in debian-packages.txt, as root or through sudo.
# Skips apt entirely when everything is already there, so repeated runs cost nothing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mapfile -t packages < <(grep -v -E '^\s*(#|$)' "$here/debian-packages.txt")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing ${#missing[@]} Debian package(s) with their dependencies: ${missing[*]}"
echo "Updating the package lists"
"${sudo[@]}" apt-get update -qq
# -q, not -qq: apt names each package as it downloads and sets it up, which on a fresh machine
# goes on for minutes.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "Debian packages installed"
