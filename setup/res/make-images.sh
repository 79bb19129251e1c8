#!/bin/sh
# Draws the installer's and the uninstaller's images with ImageMagick and
# writes them beside this script. Run it again after a change and commit what
# it writes: the build does not need ImageMagick. The bitmaps are
# uncompressed 24-bit BMPs with a BITMAPINFOHEADER and no mask colour.
#
#   banner.bmp            450 x 90   white; our blue clock at the left, the
#                                    words "KZO Scheduler 6" in blue #1F4E9A
#                                    ("KZO" bold) and a thin blue rule fading
#                                    to white along the foot: the banner at
#                                    the top left of setup's background window
#   wizard_header.bmp      49 x 49   our blue clock on white: the header
#                                    image of the wizard's inner pages
#   wizard_watermark.bmp  164 x 314  a panel in our blue, darker towards the
#                                    foot, with a large light clock and the
#                                    words "KZO" and "Scheduler 6": the
#                                    watermark of the wizard's outer pages
#   setup.ico         16, 32, 48     a cardboard carton with our blue clock on
#                                    its front: setup.exe
#   remover.ico       16, 32         our blue clock with a red cross over its
#                                    lower right quarter: remover.exe
# The icons hold 32-bit images with alpha, and the same again in 256 colours
# (16 where that is enough) for screens of fewer colours.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

BLUE='#1f4e9a' PAPER='#ffffff' INK='#1a1a1a' RED='#d03030' REDD='#8e1b1b'
AA=-antialias

# The drawing helpers shared with the other image scripts: pic, pixart,
# clockmvg, badge, icon.
. ../../tools/art/draw.sh

# banner.bmp: the product's name beside our clock, over a thin rule
pic 450 90 "$tmp/banner.png" -draw "$(clockmvg 66 "$BLUE" "$PAPER" "$INK" 14 11)" \
  -fill "$BLUE" -font DejaVu-Sans-Bold -pointsize 34 -annotate +98+56 'KZO' \
  -font DejaVu-Sans -annotate +187+56 'Scheduler 6' \
  \( -size 436x1 gradient:"$BLUE"-'#ffffff' \) -geometry +14+84 -composite
convert "$tmp/banner.png" -background white -flatten -alpha off -type TrueColor BMP3:banner.bmp

# wizard_header.bmp: our clock on white
pic 49 49 "$tmp/header.png" -draw "$(clockmvg 45 "$BLUE" "$PAPER" "$INK" 2 2)"
convert "$tmp/header.png" -background white -flatten -alpha off -type TrueColor BMP3:wizard_header.bmp

# wizard_watermark.bmp: a panel in our blue, darker towards the foot, with a
# large light clock and the product's name
LIGHT='#dce7f8'
convert -size 164x314 gradient:"$BLUE"-'#132f5e' "$AA" \
  -draw "$(clockmvg 124 "$LIGHT" 'rgba(255,255,255,0.10)' "$LIGHT" 20 58)" \
  -fill "$LIGHT" -font DejaVu-Sans-Bold -pointsize 22 -gravity north -annotate +0+222 'KZO' \
  -font DejaVu-Sans -pointsize 17 -annotate +0+250 'Scheduler 6' \
  -alpha off -type TrueColor BMP3:wizard_watermark.bmp

# setup.ico: a carton with our clock on its front
carton() { # carton N OUT
  case $1 in
  48) front="4,22 31,45" top="4,22 14,13 42,13 31,22" side="31,22 42,13 42,35 31,45" tape="9,17.5 37,17.5" cs=21 cx=7 cy=23 ;;
  32) front="2,14 20,30" top="2,14 9,8 28,8 20,14" side="20,14 28,8 28,23 20,30" tape="5.5,11 24,11" cs=15 cx=4 cy=15 ;;
  16) front="1,7 10,15" top="1,7 5,3 14,3 10,7" side="10,7 14,3 14,11 10,15" tape="3,5 12,5" cs=9 cx=1 cy=7 ;;
  esac
  pic "$1" "$1" "$2" -draw "stroke #7a4f22 stroke-width 1 stroke-linejoin round
        fill #d8a865 rectangle $front fill #ecc98f polygon $top fill #b98545 polygon $side
        stroke #c99a58 line $tape" \
    -draw "$(clockmvg "$cs" "$BLUE" "$PAPER" "$INK" "$cx" "$cy")"
}
for n in 16 32 48; do carton $n "$tmp/setup$n.png"; done
icon setup.ico "$tmp/setup16.png" "$tmp/setup32.png" "$tmp/setup48.png"

# remover.ico: our clock with a red cross over its lower right quarter
pic 16 16 "$tmp/rm16.png" -draw "$(clockmvg 14 "$BLUE" "$PAPER" "$INK")"
badge "$tmp/rm16.png" "$tmp/remover16.png" 16 16 "rectangle 9,9 15,15" +antialias -draw "$(pixart 9 9 "r=$RED d=$REDD" \
  'dd...dd' \
  'drd.drd' \
  '.drrrd.' \
  '..rrr..' \
  '.drrrd.' \
  'drd.drd' \
  'dd...dd')"
pic 32 32 "$tmp/rm32.png" -draw "$(clockmvg 28 "$BLUE" "$PAPER" "$INK")"
badge "$tmp/rm32.png" "$tmp/remover32.png" 32 32 "stroke-linecap round stroke-width 9 line 20,20 29,29 line 29,20 20,29" \
  -draw "stroke-linecap round stroke $REDD stroke-width 6.5 line 20.5,20.5 28.5,28.5 line 28.5,20.5 20.5,28.5
        stroke $RED stroke-width 4 line 20.5,20.5 28.5,28.5 line 28.5,20.5 20.5,28.5"
icon remover.ico "$tmp/remover16.png" "$tmp/remover32.png"
