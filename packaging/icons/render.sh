#!/usr/bin/env bash
# Renders the PNG sizes of the icon from kpr5.svg (run by hand after the
# drawing changes; the PNGs are kept in the repository so that a build needs
# no SVG renderer). Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" kpr5.svg -o "kpr5-$size.png"
done
