#!/usr/bin/env bash
# Renders the PNG sizes of the program's icon from its SVG into the hicolor
# layout under packaging/icons. Run it after editing the SVG; the PNGs are kept
# in the tree so the build needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
svg=packaging/icons/vexlor.svg
for size in 16 22 24 32 48 64 128 256; do
  out=packaging/icons/hicolor/${size}x${size}/apps/vexlor.png
  mkdir -p "$(dirname "$out")"
  # -strip keeps the files free of time stamps, so a re-run changes nothing.
  convert -background none -density 384 "$svg" -resize "${size}x${size}" -strip "PNG32:$out"
done
