#!/usr/bin/env bash
# Renders the program's icon (data/icons/fahrtenbuch.svg) into the PNG sizes of the hicolor
# theme, data/icons/hicolor/NxN/apps/fahrtenbuch.png. The PNGs are committed, so the build
# needs no renderer; run this again after changing the SVG. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 22 24 32 48 64 128 256; do
  dir=data/icons/hicolor/${size}x${size}/apps
  mkdir -p "$dir"
  rsvg-convert --width "$size" --height "$size" --output "$dir/fahrtenbuch.png" data/icons/fahrtenbuch.svg
done
