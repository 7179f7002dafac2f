#!/bin/sh
# Renders the PNG sizes of the icon from proveron.svg (needs rsvg-convert, Debian's
# librsvg2-bin). The PNGs are committed, so building never needs it; run this after
# changing the drawing.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --output "proveron-$size.png" proveron.svg
done
