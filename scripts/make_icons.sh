#!/usr/bin/env bash
# Renders resources/icons/quorvane.svg into the PNG sizes the desktop's icon theme (hicolor)
# and the windows use. The PNGs are checked in, so building needs no SVG renderer; run this
# after changing the SVG (needs rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/../resources/icons" && pwd)"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/quorvane.svg" -o "$icons/quorvane-$size.png"
done
