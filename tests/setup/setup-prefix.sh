#!/bin/sh
# Creates the installer tests' own Wine prefix (tools/wine-prefix.sh create),
# kept from the build machine's home folder: the user's shell folders
# (Desktop, Documents, ...) become folders of the prefix instead of links to
# the home folder, and Wine makes no menu entries or desktop files of the
# shortcuts that the installer creates.
#   setup-prefix.sh PREFIX
set -e
case "$1" in /*) prefix=$1 ;; *) prefix=$PWD/$1 ;; esac
sh "$(dirname "$0")/../../tools/wine-prefix.sh" create "$prefix"
for folder in "$prefix"/drive_c/users/*/*; do
  if [ -L "$folder" ]; then
    rm "$folder"
    mkdir "$folder"
  fi
done
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d '' /f >/dev/null 2>&1 </dev/null
