#!/bin/sh
# Draws the Terminal's images with ImageMagick and writes them beside this
# script. Run it again after a change and commit what it writes: the build
# does not need ImageMagick. Every bitmap is an uncompressed BMP with a
# BITMAPINFOHEADER; "24-bit" ones are true colour, "4-bit" ones use the 16
# VGA colours. The numbers on the right are the resource ids they stand for.
#
# Toolbar buttons, left to right, the same in all eight strips:
#   Main ToolBar: 0 New task (blank page, yellow sparkle), 1 Task properties
#   (page of text, pencil), 2 Delete (red cross), 3 Run (green play
#   triangle), 4 Start Scheduler (green clock, green play mark), 5 Scheduler
#   options (grey-blue gear), 6 Exit (open brown door, green arrow leaving),
#   7 Web site (blue globe), 8 About (blue disc, white "i"), 9 Help (blue
#   question mark).
#   Task List ToolBar: 0 Refresh (two green circling arrows), 1 Save (blue
#   floppy disk), 2 Copy (two pages), 3 Paste (clipboard holding a page),
#   4 Select all (three ticked boxes, rows highlighted), 5 Unselect all
#   (three empty boxes, plain rows), 6 Invert selection (ticked, empty,
#   ticked), 7 Details (table with a header row and two columns), 8 List
#   (small icons in two columns), 9 Large icons (four large squares).
#
#   file               size      format  transparent  shows               id
#   main_small.bmp     160 x 15  4-bit   #C0C0C0 (*)  Main ToolBar        51
#   list_small.bmp     160 x 15  4-bit   #C0C0C0 (*)  Task List ToolBar   52
#   main_large.bmp     210 x 21  4-bit   #C0C0C0 (*)  Main ToolBar       128
#   list_large.bmp     210 x 21  4-bit   #C0C0C0 (*)  Task List ToolBar  189
#   main_large_tc.bmp  210 x 21  24-bit  #FF00FF      Main ToolBar       402
#   main_small_tc.bmp  160 x 15  24-bit  #FF00FF      Main ToolBar       423
#   list_large_tc.bmp  210 x 21  24-bit  #FF00FF      Task List ToolBar  424
#   list_small_tc.bmp  160 x 15  24-bit  #FF00FF      Task List ToolBar  425
#   (*) the background, grey #C0C0C0, which the toolbar maps to the button
#   face; the glyphs never use that grey themselves.
#
# Task list rows, image 0 an active task, image 1 an inactive one:
#   rows_small_tc.bmp   34 x 16  24-bit  #00FF00  two 17 x 16: green clock;
#                                                 grey clock              407
#   rows_large_tc.bmp   64 x 32  24-bit  #00FF00  two 32 x 32: page of text
#                                                 with a green clock; the
#                                                 same greyed             408
#   rows_small.bmp      34 x 16  4-bit   #00FF00  as rows_small_tc        401
#   rows_large.bmp      64 x 32  4-bit   #00FF00  as rows_large_tc        403
#
# List header sort arrows, drawn at the right of a header's text:
#   arrow_none.bmp       9 x 8   4-bit   none, grey #C0C0C0 ground: blank 409
#   arrow_up.bmp         9 x 8   4-bit   same: ascending, a dark triangle
#                                        pointing up (7 x 4)              411
#   arrow_down.bmp       9 x 8   4-bit   same: descending, pointing down  412
#
# Icons (32-bit with alpha; the 16 and 32 pixel images also in 256 colours,
# or 16 where that is enough, for screens of fewer colours):
#   kzo.ico        16, 32, 48  a page of text with our blue clock over its
#                              lower right corner: the Terminal, big icon 128
#   kzo_small.ico  16          the same, 16 pixels only: small icon 601
#
# Task profiles list:
#   profiles.bmp        17 x 17  24-bit  #00FF00  a command window: blue
#                                                 title bar, dark body,
#                                                 white prompt ">_"
#   profiles_16c.bmp    17 x 17  4-bit   #00FF00  the same in 16 colours
#
# Network browser, three 16 x 16 images:
#   network.bmp         48 x 16  24-bit  #FF00FF  0 the network (blue
#                                                 globe), 1 the "Computers"
#                                                 folder (yellow folder),
#                                                 2 a computer (monitor)
#
# Button strips, 16 x 15 images:
#   strip_select.bmp    32 x 15  24-bit  #FF00FF  0 Select All (three ticked
#                                                 boxes), 1 Unselect All
#                                                 (three empty boxes)
#   strip_profiles.bmp  48 x 15  24-bit  #FF00FF  0 New profile (command
#                                                 window, yellow sparkle),
#                                                 1 Edit profile (pencil),
#                                                 2 Delete profile (red
#                                                 cross)
#
# Hyperlink cursor:
#   hand.cur            32 x 32  monochrome, hotspot 5,0 at the fingertip:
#                       a white pointing hand outlined in black        6130
#
# In the 24-bit images with a mask colour, edge pixels are blended onto a
# light neutral grey (toolbars, strips) or white (list images) rather than
# onto the mask colour, so no mask colour fringes a glyph.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# ---------------------------------------------------------------- colours
# palette tc|lc|lcg: the colours of the drawings. tc is true colour, drawn
# anti-aliased; lc keeps to the 16 VGA colours without anti-aliasing, for the
# low-colour bitmaps on the button-face grey (so nothing in a glyph may be
# #C0C0C0); lcg is lc for bitmaps on pure green (so nothing may be #00FF00).
palette() {
  case $1 in
  tc)
    AA=-antialias
    INK='#1a1a1a' EDGE='#4d4d4d' PAPER='#ffffff' LINE='#8f8f8f'
    BLUE='#1f4e9a' BLUEM='#3a78d0' BLUEL='#d2e2f7'
    GREEN='#2b8a3e' GREEND='#1b5e2a'
    RED='#d03030' REDD='#8e1b1b'
    YELLOW='#ffcc22' ORANGE='#c98600'
    BROWN='#8a5a2b' TAN='#d8a865'
    GREY='#8a8a8a' GREYD='#6a6a6a' GREYL='#e4e4e4' STEEL='#5e7187' SELECT='#3a78d0' BOXEDGE='#1f4e9a'
    ;;
  lc|lcg)
    AA=+antialias
    INK='#000000' EDGE='#000000' PAPER='#ffffff' LINE='#808080'
    BLUE='#000080' BLUEM='#0000ff' BLUEL='#ffffff'
    GREEN='#008000' GREEND='#008000'
    RED='#ff0000' REDD='#800000'
    YELLOW='#ffff00' ORANGE='#808000'
    BROWN='#800000' TAN='#808000'
    GREY='#808080' GREYD='#808080' GREYL='#ffffff' STEEL='#008080' SELECT='#000080' BOXEDGE='#000000'
    if [ "$1" = lcg ]; then GREYL='#c0c0c0'; fi
    ;;
  esac
}

# The drawing helpers shared with the other image scripts: pic, pixart,
# clockmvg, badge, icon.
. ../../tools/art/draw.sh

# ------------------------------------------------- Main ToolBar, 16 x 15
# Each glyph function draws one button image into the file named by $1.

page16() { # a page with a folded corner, x 1..11, y 0..14
  echo "fill $PAPER stroke $EDGE stroke-width 1 polygon 2,1 8,1 11,4 11,14 2,14
        fill $GREYL polygon 8,1 8,4 11,4"
}

s_new() {
  pic 16 15 "$1" -draw "$(page16)" +antialias -stroke none -fill "$ORANGE" \
    -draw "rectangle 12,0 12,6 rectangle 9,3 15,3 point 10,1 point 14,1 point 10,5 point 14,5" \
    -fill "$YELLOW" -draw "rectangle 11,2 13,4 point 12,1 point 12,5 point 10,3 point 14,3" \
    -fill "$PAPER" -draw "point 12,3"
}

# pencil16: a pencil lying from the lower left to the upper right, its tip
# near 6,14
pencil16() {
  echo "translate 11,9 rotate -45
        fill $TAN stroke $ORANGE stroke-width 0.6 polygon -7,0 -4,-1.5 -4,1.5
        fill $INK stroke none polygon -7.3,0 -5.6,-0.9 -5.6,0.9
        fill $YELLOW stroke $ORANGE stroke-width 1 rectangle -4,-1.5 4,1.5
        fill $RED stroke $REDD rectangle 4,-1.5 6,1.5"
}

s_props() {
  pic 16 15 "$1" -draw "$(page16)" +antialias -stroke none -fill "$LINE" \
    -draw "rectangle 4,4 7,4 rectangle 4,6 9,6 rectangle 4,8 8,8 rectangle 4,10 6,10" \
    "$AA" -draw "$(pencil16)"
}

s_delete() {
  pic 16 15 "$1" -draw "stroke-linecap round stroke $REDD stroke-width 4 line 4,3 11,11 line 11,3 4,11
        stroke $RED stroke-width 2.2 line 4,3 11,11 line 11,3 4,11"
}

s_run() {
  pic 16 15 "$1" -draw "fill $GREEN stroke $GREEND stroke-width 1 polygon 4,1.5 12.5,7 4,12.5"
}

s_start() {
  pic 16 15 "$tmp/start.png" -draw "$(clockmvg 13 "$GREEN" "$PAPER" "$INK" 0 0)"
  badge "$tmp/start.png" "$1" 16 15 "polygon 9.5,6.5 15,10.25 9.5,14" \
    -draw "fill $GREEN stroke $GREEND stroke-width 1 polygon 9.5,6.5 15,10.25 9.5,14"
}

s_options() {
  pic 16 15 "$1" -draw "fill $STEEL stroke none translate 7.5,7
        rectangle -1.5,-7 1.5,7 rectangle -7,-1.5 7,-1.5 rectangle -7,-1.5 7,1.5
        rotate 45 rectangle -1.5,-6.6 1.5,6.6 rectangle -6.6,-1.5 6.6,1.5 rotate -45
        circle 0,0 0,5 fill $PAPER circle 0,0 0,2"
}

s_exit() {
  pic 16 15 "$1" +antialias -draw "fill $INK rectangle 1,0 9,14 fill $GREYL rectangle 2,1 8,14" \
    -draw "fill $BROWN polygon 2,1 6,3 6,14 2,14  fill $TAN point 5,8" \
    "$AA" -draw "fill $GREEN stroke $GREEND stroke-width 1 polygon 7,5.5 11,5.5 11,3 15,7 11,11 11,8.5 7,8.5"
}

s_web() {
  pic 16 15 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 circle 7.5,7 7.5,0.5
        fill none stroke $BLUEL stroke-width 1 ellipse 7.5,7 2.5,6 0,360
        line 7.5,1.5 7.5,12.5 line 1.5,7 13.5,7 line 2.5,4 12.5,4 line 2.5,10 12.5,10"
}

s_about() {
  pic 16 15 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 circle 7.5,7 7.5,0.5" \
    +antialias -draw "fill $PAPER rectangle 7,3 8,4 rectangle 7,6 8,11 rectangle 6,6 6,6 rectangle 6,11 9,11"
}

s_help() {
  pic 16 15 "$1" -fill "$BLUE" -font DejaVu-Sans-Bold -pointsize 19 -gravity center -annotate +0+0 '?'
}

# ------------------------------------------------ Task List ToolBar, 16 x 15

# arcarrow CX CY R FROM TO WIDTH HEAD COLOUR: an arc of a circle drawn
# clockwise from angle FROM to TO (degrees, 0 = east, y down) with an
# arrowhead of HEAD pixels at its end.
arcarrow() {
  awk -v cx="$1" -v cy="$2" -v r="$3" -v a0="$4" -v a1="$5" -v sw="$6" -v hd="$7" -v col="$8" 'BEGIN {
    pi = atan2(0, -1); t = a1 * pi / 180
    px = cx + r * cos(t); py = cy + r * sin(t)
    tx = -sin(t); ty = cos(t); nx = cos(t); ny = sin(t)
    printf "stroke-linejoin round fill none stroke %s stroke-width %s ellipse %g,%g %g,%g %g,%g ", col, sw, cx, cy, r, r, a0, a1
    printf "fill %s stroke none polygon %g,%g %g,%g %g,%g ", col,
      px + hd * tx, py + hd * ty, px + hd * nx - 0.3 * hd * tx, py + hd * ny - 0.3 * hd * ty,
      px - hd * nx - 0.3 * hd * tx, py - hd * ny - 0.3 * hd * ty
  }'
}

s_refresh() {
  pic 16 15 "$1" -draw "$(arcarrow 7.5 7 5 215 335 2 3.2 "$GREEN") $(arcarrow 7.5 7 5 35 155 2 3.2 "$GREEN")"
}

s_save() {
  pic 16 15 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 polygon 1,0 13,0 15,2 15,14 1,14" \
    +antialias -draw "fill $GREYL stroke none rectangle 4,1 11,5 fill $BLUE rectangle 8,2 9,4
        fill $PAPER rectangle 3,8 13,13 fill $LINE rectangle 4,10 12,10 rectangle 4,12 12,12"
}

# sheet X0 Y0 X1 Y1: a page with text lines every other pixel row
sheet() {
  echo "fill $PAPER stroke $EDGE stroke-width 1 rectangle $1,$2 $3,$4 stroke none fill $LINE"
  y=$(($2 + 2))
  while [ $((y + 2)) -le "$4" ]; do
    if [ $((y + 4)) -gt "$4" ]; then echo "rectangle $(($1 + 2)),$y $(($3 - 3)),$y"
    else echo "rectangle $(($1 + 2)),$y $(($3 - 2)),$y"; fi
    y=$((y + 2))
  done
}

s_copy() {
  pic 16 15 "$1" +antialias -draw "$(sheet 1 0 9 10) $(sheet 6 4 14 14)"
}

s_paste() {
  pic 16 15 "$1" +antialias -draw "fill $TAN stroke $BROWN stroke-width 1 rectangle 1,1 11,14
        fill $GREY stroke $INK rectangle 4,0 8,2 $(sheet 6 5 14 14)"
}

# checkrow X Y ON: a row of a check-box list, its box (4 x 4) at X,Y; ON 1
# ticks the box and highlights the row.
checkrow() {
  x=$1 y=$2
  echo "fill $PAPER stroke $BOXEDGE stroke-width 1 rectangle $x,$y $((x + 3)),$((y + 3)) stroke none"
  if [ "$3" = 1 ]; then
    echo "fill $SELECT rectangle $((x + 7)),$((y + 1)) 15,$((y + 3))"
    pixart "$x" $((y - 1)) "g=$GREEN" \
      '.....g' \
      '....gg' \
      'g..gg.' \
      'gggg..' \
      '.gg...'
  else
    echo "fill $LINE rectangle $((x + 7)),$((y + 2)) 14,$((y + 2))"
  fi
}

s_selall() { pic 16 15 "$1" +antialias -draw "$(checkrow 1 1 1) $(checkrow 1 6 1) $(checkrow 1 11 1)"; }
s_unselall() { pic 16 15 "$1" +antialias -draw "$(checkrow 1 1 0) $(checkrow 1 6 0) $(checkrow 1 11 0)"; }
s_invert() { pic 16 15 "$1" +antialias -draw "$(checkrow 1 1 1) $(checkrow 1 6 0) $(checkrow 1 11 1)"; }

s_details() {
  pic 16 15 "$1" +antialias -draw "fill $PAPER stroke $EDGE stroke-width 1 rectangle 0,0 15,14
        stroke none fill $GREYL rectangle 1,1 14,3 fill $EDGE rectangle 8,1 8,3 rectangle 1,4 14,4
        fill $BLUEM rectangle 2,6 3,7 rectangle 2,9 3,10 rectangle 2,12 3,13
        fill $LINE rectangle 5,7 7,7 rectangle 5,10 7,10 rectangle 5,13 7,13
        rectangle 10,7 13,7 rectangle 10,10 13,10 rectangle 10,13 13,13"
}

s_list() {
  pic 16 15 "$1" +antialias -draw "fill $BLUEM
        rectangle 1,1 3,3 rectangle 1,6 3,8 rectangle 1,11 3,13
        rectangle 9,1 11,3 rectangle 9,6 11,8 rectangle 9,11 11,13
        fill $LINE rectangle 5,2 7,2 rectangle 5,7 7,7 rectangle 5,12 7,12
        rectangle 13,2 15,2 rectangle 13,7 15,7 rectangle 13,12 15,12"
}

s_large() {
  pic 16 15 "$1" +antialias -draw "fill $BLUEM stroke $BLUE stroke-width 1
        rectangle 1,0 6,5 rectangle 9,0 14,5 rectangle 1,8 6,13 rectangle 9,8 14,13"
}

# ------------------------------------------------- Main ToolBar, 21 x 21

page21() { # a page with a folded corner, x 2..15, y 1..20
  echo "fill $PAPER stroke $EDGE stroke-width 1 polygon 2,1 11,1 15,5 15,20 2,20
        fill $GREYL polygon 11,1 11,5 15,5"
}

l_new() {
  pic 21 21 "$1" -draw "$(page21)" +antialias -stroke none -fill "$ORANGE" \
    -draw "rectangle 16,0 16,8 rectangle 12,4 20,4 point 13,1 point 14,2 point 18,2 point 19,1
        point 13,7 point 14,6 point 18,6 point 19,7" \
    -fill "$YELLOW" -draw "rectangle 15,3 17,5 point 16,2 point 16,6 point 14,4 point 18,4" \
    -fill "$PAPER" -draw "point 16,4"
}

l_props() {
  pic 21 21 "$1" -draw "$(page21)" +antialias -stroke none -fill "$LINE" \
    -draw "rectangle 5,5 9,5 rectangle 5,8 12,8 rectangle 5,11 11,11 rectangle 5,14 8,14 rectangle 5,17 7,17" \
    "$AA" -draw "translate 14.5,12.5 rotate -45
        fill $INK polygon -9.5,0 -5,-2.5 -5,2.5
        fill $TAN polygon -8,0 -5,-1.7 -5,1.7
        fill $YELLOW stroke $ORANGE stroke-width 1 rectangle -5,-2 5,2
        stroke none fill $ORANGE rectangle -5,-0.5 5,0.5
        fill $RED stroke $REDD stroke-width 1 rectangle 5,-2 8,2"
}

l_delete() {
  pic 21 21 "$1" -draw "stroke-linecap round stroke $REDD stroke-width 5.5 line 5,5 15,15 line 15,5 5,15
        stroke $RED stroke-width 3.3 line 5,5 15,15 line 15,5 5,15"
}

l_run() {
  pic 21 21 "$1" -draw "fill $GREEN stroke $GREEND stroke-width 1 polygon 5,2.5 17,10 5,17.5"
}

l_start() {
  pic 21 21 "$tmp/start.png" -draw "$(clockmvg 17 "$GREEN" "$PAPER" "$INK" 0 0)"
  badge "$tmp/start.png" "$1" 21 21 "polygon 12.5,10 20,15 12.5,20" \
    -draw "fill $GREEN stroke $GREEND stroke-width 1 polygon 12.5,10 20,15 12.5,20"
}

l_options() {
  pic 21 21 "$1" -draw "fill $STEEL stroke none translate 10,10
        rectangle -2,-9.5 2,9.5 rectangle -9.5,-2 9.5,2
        rotate 45 rectangle -2,-9 2,9 rectangle -9,-2 9,2 rotate -45
        circle 0,0 0,7 fill $PAPER circle 0,0 0,3"
}

l_exit() {
  pic 21 21 "$1" +antialias -draw "fill $INK rectangle 1,1 12,20 fill $GREYL rectangle 2,2 11,20" \
    -draw "fill $BROWN polygon 2,2 8,4 8,20 2,20 fill $TAN rectangle 6,11 6,12" \
    "$AA" -draw "fill $GREEN stroke $GREEND stroke-width 1 polygon 9,8 14,8 14,4.5 19.5,10 14,15.5 14,12 9,12"
}

l_web() {
  pic 21 21 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 circle 10,10 10,1
        fill none stroke $BLUEL stroke-width 1 ellipse 10,10 3.5,8.5 0,360
        line 10,2 10,18 line 2,10 18,10 line 3.5,5.5 16.5,5.5 line 3.5,14.5 16.5,14.5"
}

l_about() {
  pic 21 21 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 circle 10,10 10,1" \
    +antialias -draw "fill $PAPER rectangle 9,4 11,6 rectangle 9,8 11,15 rectangle 8,8 8,8 rectangle 8,15 12,15"
}

l_help() {
  pic 21 21 "$1" -fill "$BLUE" -font DejaVu-Sans-Bold -pointsize 25 -gravity center -annotate +0+0 '?'
}

# ------------------------------------------------ Task List ToolBar, 21 x 21

l_refresh() {
  pic 21 21 "$1" -draw "$(arcarrow 10 10 7 215 335 2.6 4.2 "$GREEN") $(arcarrow 10 10 7 35 155 2.6 4.2 "$GREEN")"
}

l_save() {
  pic 21 21 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 polygon 1,1 17,1 19,3 19,19 1,19" \
    +antialias -draw "fill $GREYL stroke none rectangle 5,2 15,7 fill $BLUE rectangle 11,3 13,6
        fill $PAPER rectangle 4,11 16,18 fill $LINE rectangle 5,13 15,13 rectangle 5,15 15,15 rectangle 5,17 13,17"
}

l_copy() {
  pic 21 21 "$1" +antialias -draw "$(sheet 1 1 12 14) $(sheet 8 6 19 19)"
}

l_paste() {
  pic 21 21 "$1" +antialias -draw "fill $TAN stroke $BROWN stroke-width 1 rectangle 2,2 15,19
        fill $GREY stroke $INK rectangle 6,0 11,3 $(sheet 8 7 19 20)"
}

# checkrowl X Y ON: checkrow with a 6 x 6 box
checkrowl() {
  x=$1 y=$2
  echo "fill $PAPER stroke $BOXEDGE stroke-width 1 rectangle $x,$y $((x + 5)),$((y + 5)) stroke none"
  if [ "$3" = 1 ]; then
    echo "fill $SELECT rectangle $((x + 9)),$((y + 1)) 20,$((y + 4))"
    pixart $((x + 1)) $((y - 2)) "g=$GREEN" \
      '......g' \
      '.....gg' \
      'g...ggg' \
      'gg.ggg.' \
      'ggggg..' \
      '.ggg...' \
      '..g....'
  else
    echo "fill $LINE rectangle $((x + 9)),$((y + 2)) 19,$((y + 3))"
  fi
}

l_selall() { pic 21 21 "$1" +antialias -draw "$(checkrowl 1 1 1) $(checkrowl 1 8 1) $(checkrowl 1 15 1)"; }
l_unselall() { pic 21 21 "$1" +antialias -draw "$(checkrowl 1 1 0) $(checkrowl 1 8 0) $(checkrowl 1 15 0)"; }
l_invert() { pic 21 21 "$1" +antialias -draw "$(checkrowl 1 1 1) $(checkrowl 1 8 0) $(checkrowl 1 15 1)"; }

l_details() {
  pic 21 21 "$1" +antialias -draw "fill $PAPER stroke $EDGE stroke-width 1 rectangle 0,1 20,19
        stroke none fill $GREYL rectangle 1,2 19,5 fill $EDGE rectangle 11,2 11,5 rectangle 1,6 19,6
        fill $BLUEM rectangle 2,8 4,10 rectangle 2,12 4,14 rectangle 2,16 4,18
        fill $LINE rectangle 6,9 9,9 rectangle 6,13 9,13 rectangle 6,17 9,17
        rectangle 13,9 18,9 rectangle 13,13 18,13 rectangle 13,17 17,17"
}

l_list() {
  pic 21 21 "$1" +antialias -draw "fill $BLUEM stroke $BLUE stroke-width 1
        rectangle 1,2 4,5 rectangle 1,9 4,12 rectangle 1,16 4,19
        rectangle 11,2 14,5 rectangle 11,9 14,12 rectangle 11,16 14,19
        stroke none fill $LINE rectangle 6,3 9,4 rectangle 6,10 9,11 rectangle 6,17 9,18
        rectangle 16,3 19,4 rectangle 16,10 19,11 rectangle 16,17 19,18"
}

l_large() {
  pic 21 21 "$1" +antialias -draw "fill $BLUEM stroke $BLUE stroke-width 1
        rectangle 1,1 8,8 rectangle 12,1 19,8 rectangle 1,12 8,19 rectangle 12,12 19,19"
}

# ------------------------------------------------------- tasks and icons

# taskicon N RIM OUT: a page with text lines and our clock (rim colour RIM)
# over its lower right corner, N x N pixels; 16, 32 or 48.
taskicon() {
  ti_n=$1 ti_rim=$2 ti_out=$3
  case $ti_n in
  16) pg="1,0 7,0 10,3 10,14 1,14" fold="7,0 7,3 10,3" lines="3,3 5,3 3,5 8,5 3,7 6,7 3,9 4,9" cs=11 cx=5 cy=5 ;;
  32) pg="3,1 16,1 22,7 22,29 3,29" fold="16,1 16,7 22,7" lines="6,6 13,6 6,9 18,9 6,12 16,12 6,15 14,15 6,18 9,18 6,21 9,21" cs=19 cx=13 cy=13 ;;
  48) pg="5,2 24,2 33,11 33,44 5,44" fold="24,2 24,11 33,11" lines="9,8 20,8 9,12 28,12 9,16 26,16 9,20 24,20 9,24 16,24 9,28 15,28 9,32 14,32" cs=28 cx=20 cy=20 ;;
  esac
  rects=$(echo "$lines" | awk '{ for (i = 1; i < NF; i += 2) printf "rectangle %s %s ", $i, $(i + 1) }')
  pic "$ti_n" "$ti_n" "$tmp/page.png" -draw "fill $PAPER stroke $EDGE stroke-width 1 polygon $pg fill $GREYL polygon $fold" \
    +antialias -draw "stroke none fill $LINE $rects"
  badge "$tmp/page.png" "$ti_out" "$ti_n" "$ti_n" "circle $((cx + cs / 2)),$((cy + cs / 2)) $((cx + cs / 2)),$((cy - 1))" \
    -draw "$(clockmvg "$cs" "$ti_rim" "$CLOCKFACE" "$HANDS" "$cx" "$cy")"
}

# --------------------------------------------- profiles, network, strips

# console X Y: the command window glyph, 12 x 11 pixels from X,Y: a frame
# with a blue title bar over a dark body with a white prompt.
console() {
  echo "fill $INK stroke $EDGE stroke-width 1 rectangle $1,$2 $(($1 + 11)),$(($2 + 10))
        stroke none fill $BLUE rectangle $(($1 + 1)),$(($2 + 1)) $(($1 + 10)),$(($2 + 2))"
  pixart $(($1 + 2)) $(($2 + 4)) "w=$PAPER" \
    'ww......' \
    '.ww.....' \
    '..ww....' \
    '.ww.....' \
    'ww..www.'
}

profile17() { # the task profile glyph, 17 x 17
  pic 17 17 "$1" +antialias -draw "fill $INK stroke $EDGE stroke-width 1 rectangle 1,2 15,14
        stroke none fill $BLUE rectangle 2,3 14,5 fill $PAPER rectangle 12,4 13,4
        $(pixart 3 7 "w=$PAPER" \
          'ww.......' \
          '.ww......' \
          '..ww.....' \
          '.ww......' \
          'ww..wwww.')"
}

s_pnew() {
  pic 16 15 "$1" +antialias -draw "$(console 0 3)" -stroke none -fill "$ORANGE" \
    -draw "rectangle 12,0 12,6 rectangle 9,3 15,3 point 10,1 point 14,1 point 10,5 point 14,5" \
    -fill "$YELLOW" -draw "rectangle 11,2 13,4 point 12,1 point 12,5 point 10,3 point 14,3" \
    -fill "$PAPER" -draw "point 12,3"
}

s_pedit() {
  pic 16 15 "$tmp/pedit.png" +antialias -draw "$(console 0 0)"
  badge "$tmp/pedit.png" "$1" 16 15 "translate 11,9 rotate -45 rectangle -6,-1.5 6,1.5" -draw "$(pencil16)"
}

s_pdelete() {
  pic 16 15 "$tmp/pdel.png" +antialias -draw "$(console 0 0)"
  badge "$tmp/pdel.png" "$1" 16 15 "rectangle 9,7 15,13" +antialias -draw "$(pixart 9 7 "r=$RED d=$REDD" \
    'dd...dd' \
    'drd.drd' \
    '.drrrd.' \
    '..rrr..' \
    '.drrrd.' \
    'drd.drd' \
    'dd...dd')"
}

n_root() {
  pic 16 16 "$1" -draw "fill $BLUEM stroke $BLUE stroke-width 1 circle 7.5,7.5 7.5,0.5
        fill none stroke $BLUEL stroke-width 1 ellipse 7.5,7.5 2.5,6.5 0,360
        line 7.5,1.5 7.5,13.5 line 1.5,7.5 13.5,7.5 line 2.5,4.5 12.5,4.5 line 2.5,10.5 12.5,10.5"
}

n_folder() {
  pic 16 16 "$1" +antialias -draw "fill $FOLDER stroke $FOLDERD stroke-width 1 polygon 1,3 6,3 7,4 14,4 14,13 1,13
        fill $FOLDERL polygon 1,6 14,6 14,13 1,13"
}

n_computer() {
  pic 16 16 "$1" +antialias -draw "fill $GREYL stroke $INK stroke-width 1 rectangle 1,1 14,10
        fill $BLUEM stroke $GREYD rectangle 3,3 12,8 stroke none fill $GREYD rectangle 6,11 9,12
        fill $GREYL stroke $INK rectangle 2,13 13,14"
}

# ----------------------------------------------------------------- output

# keep24 IN OUT COLOUR: 24-bit BMP: true colour with COLOUR where the drawing
# is transparent; edge pixels over a fifth opaque are blended onto BACKDROP,
# a light neutral, so that the mask colour never fringes a glyph.
keep24() {
  convert "$1" \( -clone 0 -background "$BACKDROP" -flatten \) \
    \( -clone 0 -alpha extract -threshold 20% \) -delete 0 -alpha off \
    -compose CopyOpacity -composite -compose Over -background "$3" -flatten \
    -alpha off -type TrueColor BMP3:"$2"
}

# keep16 IN OUT COLOUR: 4-bit BMP with the 16 VGA colours, COLOUR (grey
# #C0C0C0 or green #00FF00) where the drawing is transparent.
keep16() {
  convert "$1" -channel A -threshold 50% +channel -background "$3" -flatten \
    +dither -remap "$tmp/vga.png" -type Palette BMP3:"$2"
}

# strip PREFIX OUT GLYPH...: the glyphs PREFIX_GLYPH side by side
strip() {
  strip_p=$1 strip_out=$2
  shift 2
  strip_n=$#
  while [ "$strip_n" -gt 0 ]; do
    "${strip_p}_$1" "$tmp/$strip_p-$1.png"
    set -- "$@" "$tmp/$strip_p-$1.png"
    shift
    strip_n=$((strip_n - 1))
  done
  convert "$@" +append +repage "$strip_out"
}

# le16/le32 N: N as little-endian bytes
le16() { printf '%b' "\\0$(printf %o $(($1 & 255)))\\0$(printf %o $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# cursor IN X Y OUT: a 32 x 32 monochrome cursor from IN (black, white and
# transparent pixels) with its hotspot at X,Y; monochrome so that every
# Windows version shows it.
cursor() {
  convert "$1" -background black -alpha remove -negate -threshold 50% -flip pbm:- | tail -c 128 >"$tmp/xor"
  convert "$1" -alpha extract -threshold 50% -flip pbm:- | tail -c 128 >"$tmp/and"
  {
    le16 0; le16 2; le16 1                                   # cursor directory, one image
    printf '\040\040\002\000'; le16 "$2"; le16 "$3"; le32 304; le32 22
    le32 40; le32 32; le32 64; le16 1; le16 1; le32 0; le32 256; le32 0; le32 0; le32 2; le32 0
    printf '\000\000\000\000\377\377\377\000'                # black, white
    cat "$tmp/xor" "$tmp/and"
  } >"$4"
}

convert xc:'#000000' xc:'#800000' xc:'#008000' xc:'#808000' xc:'#000080' xc:'#800080' \
  xc:'#008080' xc:'#c0c0c0' xc:'#808080' xc:'#ff0000' xc:'#00ff00' xc:'#ffff00' \
  xc:'#0000ff' xc:'#ff00ff' xc:'#00ffff' xc:'#ffffff' +append "$tmp/vga.png"
BACKDROP='#e3e0d8'
# the buttons' glyphs, split into words on purpose below
MAIN="new props delete run start options exit web about help"
LIST="refresh save copy paste selall unselall invert details list large"

# toolbars
# shellcheck disable=SC2086
for mode in tc lc; do
  palette $mode
  strip s "$tmp/main_small_$mode.png" $MAIN
  strip l "$tmp/main_large_$mode.png" $MAIN
  strip s "$tmp/list_small_$mode.png" $LIST
  strip l "$tmp/list_large_$mode.png" $LIST
done
for f in main_small main_large list_small list_large; do
  keep24 "$tmp/${f}_tc.png" "${f}_tc.bmp" '#ff00ff'
  keep16 "$tmp/${f}_lc.png" "$f.bmp" '#c0c0c0'
done

# task list rows: active, inactive
rows() { # rows MODE: draws the rows into $tmp/rows_{small,large}_MODE.png
  palette "$1"
  CLOCKFACE=$PAPER HANDS=$INK
  pic 17 16 "$tmp/row0s.png" -draw "$(clockmvg 16 "$GREEN" "$PAPER" "$INK")"
  taskicon 32 "$GREEN" "$tmp/row0l.png"
  # greyed: light page and face, grey rim and hands
  case $1 in
  tc) INK='#7a7a7a' EDGE='#8f8f8f' LINE='#c8c8c8' PAPER='#f6f6f6' GREYL='#e2e2e2' CLOCKFACE='#e8e8e8' HANDS='#7a7a7a' ;;
  *) INK='#808080' EDGE='#808080' LINE='#c0c0c0' PAPER='#ffffff' GREYL='#c0c0c0' CLOCKFACE='#ffffff' HANDS='#808080' ;;
  esac
  pic 17 16 "$tmp/row1s.png" -draw "$(clockmvg 16 "$GREY" "$CLOCKFACE" "$HANDS")"
  taskicon 32 "$GREY" "$tmp/row1l.png"
  convert "$tmp/row0s.png" "$tmp/row1s.png" +append +repage "$tmp/rows_small_$1.png"
  convert "$tmp/row0l.png" "$tmp/row1l.png" +append +repage "$tmp/rows_large_$1.png"
}
rows tc
BACKDROP='#ffffff'
keep24 "$tmp/rows_small_tc.png" rows_small_tc.bmp '#00ff00'
keep24 "$tmp/rows_large_tc.png" rows_large_tc.bmp '#00ff00'
rows lcg
keep16 "$tmp/rows_small_lcg.png" rows_small.bmp '#00ff00'
keep16 "$tmp/rows_large_lcg.png" rows_large.bmp '#00ff00'

# header sort arrows
for a in none up down; do
  case $a in
  none) art= ;;
  up) art=$(pixart 1 2 'k=#3c3c3c' '...k...' '..kkk..' '.kkkkk.' 'kkkkkkk') ;;
  down) art=$(pixart 1 2 'k=#3c3c3c' 'kkkkkkk' '.kkkkk.' '..kkk..' '...k...') ;;
  esac
  convert -size 9x8 xc:'#c0c0c0' +antialias ${art:+-draw "$art"} +dither -remap "$tmp/vga.png" -type Palette BMP3:"arrow_$a.bmp"
done

# the Terminal's icons
palette tc
CLOCKFACE=$PAPER HANDS=$INK
for n in 16 32 48; do taskicon $n "$BLUE" "$tmp/kzo$n.png"; done
icon kzo.ico "$tmp/kzo16.png" "$tmp/kzo32.png" "$tmp/kzo48.png"
icon kzo_small.ico "$tmp/kzo16.png"

# task profiles
palette tc
profile17 "$tmp/profile_tc.png"
BACKDROP='#ffffff'
keep24 "$tmp/profile_tc.png" profiles.bmp '#00ff00'
palette lcg
profile17 "$tmp/profile_lc.png"
keep16 "$tmp/profile_lc.png" profiles_16c.bmp '#00ff00'

# network browser, button strips
palette tc
FOLDER='#f2c650' FOLDERD='#a87a1e' FOLDERL='#f8db83'
BACKDROP='#e3e0d8'
strip n "$tmp/network.png" root folder computer
keep24 "$tmp/network.png" network.bmp '#ff00ff'
strip s "$tmp/strip_select.png" selall unselall
keep24 "$tmp/strip_select.png" strip_select.bmp '#ff00ff'
strip s "$tmp/strip_profiles.png" pnew pedit pdelete
keep24 "$tmp/strip_profiles.png" strip_profiles.bmp '#ff00ff'

# hyperlink hand
pic 32 32 "$tmp/hand.png" +antialias -draw "$(pixart 0 0 'k=#000000 w=#ffffff' \
  '.....kk..........' \
  '....kwwk.........' \
  '....kwwk.........' \
  '....kwwk.........' \
  '....kwwk.........' \
  '....kwwkkk.......' \
  '....kwwkwwkkk....' \
  '....kwwkwwkwwkkk.' \
  '.kk.kwwkwwkwwkwwk' \
  'kwwkkwwkwwkwwkwwk' \
  'kwwwkwwwwwwwwwwwk' \
  '.kwwkwwwwwwwwwwwk' \
  '.kwwwwwwwwwwwwwwk' \
  '..kwwwwwwwwwwwwwk' \
  '..kwwwwwwwwwwwwk.' \
  '...kwwwwwwwwwwwk.' \
  '...kwwwwwwwwwwk..' \
  '....kwwwwwwwwwk..' \
  '....kwwwwwwwwwk..' \
  '....kkkkkkkkkkk..')"
cursor "$tmp/hand.png" 5 0 hand.cur
