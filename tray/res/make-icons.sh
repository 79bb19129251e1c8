#!/bin/sh
# Draws the Executor's icons with ImageMagick and writes them beside this script:
#   dialog.ico    icon 2, shown in the prompt dialogs
#   active.ico    icon 3, the tray icon while the scheduler is active
#   inactive.ico  icon 4, the tray icon while it is inactive
# Each holds a 16x16 and a 32x32 image (32-bit with alpha), both drawn on their
# own pixel grid so that the small one stays sharp. Run it again after a change
# and commit the .ico files: the build does not need ImageMagick.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# clock SIZE RIM FACE HANDS OUT.png: a round clock face with its hands at 12
# and 3, and tick marks at the quarters on the large size.
clock() {
  size=$1 rim=$2 face=$3 hands=$4 out=$5
  if [ "$size" -eq 32 ]; then
    convert -size 32x32 xc:none -antialias \
      -fill "$face" -stroke "$rim" -strokewidth 2.5 -draw "circle 15.5,15.5 15.5,2.5" \
      +antialias -stroke none -fill "$hands" \
      -draw "rectangle 15,5 16,6" -draw "rectangle 15,25 16,26" \
      -draw "rectangle 5,15 6,16" -draw "rectangle 25,15 26,16" \
      -draw "rectangle 15,8 16,16" -draw "rectangle 15,15 22,16" \
      -draw "rectangle 14,14 17,17" \
      "$out"
  else
    convert -size 16x16 xc:none -antialias \
      -fill "$face" -stroke "$rim" -strokewidth 1.5 -draw "circle 7.5,7.5 7.5,1" \
      +antialias -stroke none -fill "$hands" \
      -draw "rectangle 7,3 7,8" -draw "rectangle 7,7 11,8" \
      "$out"
  fi
}

icon() {
  name=$1 rim=$2 face=$3 hands=$4
  clock 16 "$rim" "$face" "$hands" "$tmp/$name-16.png"
  clock 32 "$rim" "$face" "$hands" "$tmp/$name-32.png"
  convert "$tmp/$name-16.png" "$tmp/$name-32.png" "$name.ico"
}

icon dialog   '#1f4e9a' '#ffffff' '#1a1a1a'
icon active   '#2b8a3e' '#ffffff' '#1a1a1a'
icon inactive '#8a8a8a' '#e4e4e4' '#7a7a7a'
