#!/bin/sh
# Creates a fresh Wine prefix (CTest fixture setup) or ends everything running in
# one (fixture cleanup):
#   wine-prefix.sh create PREFIX
#   wine-prefix.sh kill PREFIX
set -e
action=$1
export WINEPREFIX="$2"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
  create)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    # The tests' display has no window manager: unmanaged windows spare each
    # closing window Wine's two-second wait for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    wineserver -w
    # The caption buttons' and dialogs' fonts, which this Wine does not take
    # from its own font folder by itself.
    cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf \
      "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # A server that stays for the whole run, holding none of CTest's pipes.
    wineserver -p >/dev/null 2>&1 </dev/null
    ;;
  kill)
    wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 create|kill PREFIX" >&2
    exit 2
    ;;
esac
