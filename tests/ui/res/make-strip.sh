#!/bin/sh
# Draws the test strip bitmap (three 16x15 images on magenta, the mask colour:
# a plus, a pencil-like bar and a cross) with ImageMagick, as strip.bmp beside
# this script. Run it again after a change and commit the .bmp file.
set -e
cd "$(dirname "$0")"
convert -size 48x15 xc:'#ff00ff' +antialias \
  -fill '#1f7a1f' -draw "rectangle 7,2 8,12" -draw "rectangle 2,7 13,8" \
  -fill '#1f4e9a' -draw "polygon 19,12 20,9 28,1 31,4 23,12 20,13" \
  -fill '#b01c1c' -draw "polygon 34,3 36,1 40,5 44,1 46,3 42,7 46,11 44,13 40,9 36,13 34,11 38,7" \
  -type TrueColor BMP3:strip.bmp
