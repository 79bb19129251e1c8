#!/bin/sh
# Screenshots of the UI building blocks, for a person to look at:
#   tests/ui/take-shots.sh BUILD_DIR OUT_DIR
# Runs build/x64/tests/ui_demo.exe in each of its modes on a virtual display
# (1024x768), in a Wine prefix of its own (BUILD_DIR/shotprefix), and saves
# OUT_DIR/ui-<mode>.png. Needs ImageMagick's import and Xvfb.
set -e
build=$(cd "$1" && pwd)
out=$2
mkdir -p "$out"
out=$(cd "$out" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
prefix="$build/shotprefix"
if [ ! -d "$prefix" ]; then
  "$here/tools/wine-prefix.sh" create "$prefix"
  # The Windows look of captions and dialogs wants Marlett and Tahoma, which
  # this Wine does not take from fonts-wine by itself.
  cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf \
    "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'

# shoot MODE NAME: ui_demo in this mode, saved as OUT_DIR/NAME.png.
shoot() {
  mode=$1
  wine "$build/tests/ui_demo.exe" "$mode" >/dev/null 2>&1 </dev/null &
  sleep 3
  import -window root "$out/$2.png"
  wineserver -k 2>/dev/null || true
  wait 2>/dev/null || true
}

if [ -z "$KZO_SHOTS_DISPLAY" ]; then
  export KZO_SHOTS_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
wine reg add "$theme" /v ThemeActive /d 1 /f >/dev/null 2>&1
for mode in msgbox about linkmenu showcase container menubar inactive; do
  shoot "$mode" "ui-$mode"
  echo "$out/ui-$mode.png"
done
# Without a visual style: the classic look, the flat header painted by us.
wine reg add "$theme" /v ThemeActive /d 0 /f >/dev/null 2>&1
wineserver -w
for mode in showcase menubar; do
  shoot "$mode" "ui-$mode-classic"
  echo "$out/ui-$mode-classic.png"
done
wine reg add "$theme" /v ThemeActive /d 1 /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
