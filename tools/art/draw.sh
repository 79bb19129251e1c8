# Drawing helpers of the image scripts (terminal/res, setup/res), sourced by
# them after they have changed into their own folder. Each writes with
# ImageMagick; AA (-antialias or +antialias) is the caller's.
# Helpers keep their variables apart by a prefix: sh has no locals.

# pic W H OUT ARGS...: ARGS drawn on a transparent W x H canvas.
pic() {
  pic_w=$1 pic_h=$2 pic_out=$3
  shift 3
  convert -size "${pic_w}x$pic_h" xc:none "$AA" "$@" "$pic_out"
}

# pixart X Y MAP ROW...: pixel art with its top-left corner at X,Y. MAP
# gives each letter its colour ("g=#2b8a3e w=#ffffff"); any other character
# leaves the pixel alone.
pixart() {
  pix_x=$1 pix_y=$2 pix_map=$3
  shift 3
  printf '%s\n' "$@" | awk -v x0="$pix_x" -v y0="$pix_y" -v map="$pix_map" '
    BEGIN { n = split(map, m, " "); for (i = 1; i <= n; i++) { split(m[i], kv, "="); col[kv[1]] = kv[2] } }
    { for (i = 1; i <= length($0); i++) { c = substr($0, i, 1); if (c in col) printf "fill %s point %d,%d ", col[c], x0 + i - 1, y0 + NR - 1 } }'
}

# clockmvg N RIM FACE HANDS [X Y]: the drawing of our round clock N pixels
# across with its top-left corner at X,Y: the rim, the face, the minute hand
# at 12 and the hour hand at 3, tick marks at the quarters from 24 pixels up.
clockmvg() {
  awk -v n="$1" -v rim="$2" -v face="$3" -v hands="$4" -v x0="${5:-0}" -v y0="${6:-0}" 'BEGIN {
    sw = n <= 13 ? 1 : n <= 18 ? 1.5 : n <= 26 ? 2 : n <= 34 ? 2.5 : n / 13
    c = (n - 1) / 2
    r = c + 0.5 - sw / 2 - (n >= 24 ? n / 48 : 0)
    printf "fill %s stroke %s stroke-width %s circle %g,%g %g,%g ", face, rim, sw, x0 + c, y0 + c, x0 + c, y0 + c - r
    # hands: one pixel wide on an odd size, two on an even one, a bit wider on big ones
    hw = (n % 2) ? 1 : 2
    if (n >= 40) hw += 2 * int(n / 40)
    lo = int(c - (hw - 1) / 2 + 0.5)
    hi = lo + hw - 1
    up = int(r * 0.62 + 0.5); rt = int(r * 0.48 + 0.5)
    if (n >= 24) {
      # quarter ticks, and hands that stop short of them
      tl = n >= 40 ? int(n / 12) : 2
      e = int(c - r + sw / 2 + (n >= 40 ? n / 30 : 0) + 1.5)
      gap = n >= 40 ? int(n / 20) : 1
      if (hi - (hw - 1) - up < e + tl + gap) up = hi - (hw - 1) - (e + tl + gap)
      if (hi + rt > n - 1 - e - tl - gap) rt = n - 1 - e - tl - gap - hi
    }
    printf "stroke none fill %s ", hands
    printf "rectangle %d,%d %d,%d ", x0 + lo, y0 + hi - up - (hw - 1), x0 + hi, y0 + hi
    printf "rectangle %d,%d %d,%d ", x0 + lo, y0 + lo, x0 + hi + rt, y0 + hi
    if (n >= 24) {
      printf "rectangle %d,%d %d,%d ", x0 + lo, y0 + e, x0 + hi, y0 + e + tl - 1
      printf "rectangle %d,%d %d,%d ", x0 + lo, y0 + n - 1 - e - tl + 1, x0 + hi, y0 + n - 1 - e
      printf "rectangle %d,%d %d,%d ", x0 + e, y0 + lo, x0 + e + tl - 1, y0 + hi
      printf "rectangle %d,%d %d,%d ", x0 + n - 1 - e - tl + 1, y0 + lo, x0 + n - 1 - e, y0 + hi
    }
  }'
}

# badge BASE OUT W H CUT ARGS...: draws ARGS over BASE after clearing the
# pixels under the shape CUT (MVG, drawn thick), so that a small mark laid
# over a glyph keeps a clear gap around it.
badge() {
  badge_base=$1 badge_out=$2 badge_w=$3 badge_h=$4 badge_cut=$5
  shift 5
  convert "$badge_base" \( -size "${badge_w}x$badge_h" xc:none "$AA" -fill black -stroke black -strokewidth 2 -draw "$badge_cut" \) \
    -compose DstOut -composite \( -size "${badge_w}x$badge_h" xc:none "$AA" "$@" \) -compose Over -composite "$badge_out"
}

# icon OUT PNG...: an icon with each image in 32-bit colour with alpha, and
# those up to 32 pixels once more in 256 colours (16 where that is enough)
# for screens of fewer colours.
icon() {
  icon_out=$1
  shift
  icon_n=$#
  while [ "$icon_n" -gt 0 ]; do
    icon_f=$1
    shift
    set -- "$@" "$icon_f"
    if [ "$(identify -format %w "$icon_f")" -le 32 ]; then
      set -- "$@" "(" "$icon_f" -channel A -threshold 50% +channel +dither -colors 255 -type PaletteAlpha ")"
    fi
    icon_n=$((icon_n - 1))
  done
  convert "$@" "$icon_out"
}
