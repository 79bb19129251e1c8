#!/bin/sh
# Draws the uninstaller's icon with ImageMagick and writes remover.ico beside
# this script: the suite's clock face with a red cross over its lower right,
# 16x16 and 32x32 (32-bit with alpha), each drawn on its own pixel grid. Run it
# again after a change and commit the .ico file: the build does not need
# ImageMagick.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 32x32 xc:none -antialias \
  -fill '#ffffff' -stroke '#1f4e9a' -strokewidth 2.5 -draw "circle 13.5,13.5 13.5,2.5" \
  +antialias -stroke none -fill '#1a1a1a' \
  -draw "rectangle 13,6 14,14" -draw "rectangle 13,13 19,14" \
  -antialias -stroke '#c62828' -strokewidth 4 \
  -draw "line 19,19 29,29" -draw "line 29,19 19,29" \
  "$tmp/32.png"
convert -size 16x16 xc:none -antialias \
  -fill '#ffffff' -stroke '#1f4e9a' -strokewidth 1.5 -draw "circle 6.5,6.5 6.5,1" \
  +antialias -stroke none -fill '#1a1a1a' \
  -draw "rectangle 6,3 6,7" -draw "rectangle 6,6 9,7" \
  -antialias -stroke '#c62828' -strokewidth 2 \
  -draw "line 9.5,9.5 14.5,14.5" -draw "line 14.5,9.5 9.5,14.5" \
  "$tmp/16.png"
convert "$tmp/16.png" "$tmp/32.png" remover.ico
