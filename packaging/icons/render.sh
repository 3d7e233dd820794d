#!/usr/bin/env bash
# Renders the PNG sizes of the program's icon from its SVG (needs
# rsvg-convert, Debian package librsvg2-bin). Run after changing the SVG and
# commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")/hicolor"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" scalable/apps/com.korvan.kvn.svg -o "${size}x${size}/apps/com.korvan.kvn.png"
done
