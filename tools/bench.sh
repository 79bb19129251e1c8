#!/bin/sh
# Runs every benchmark of a build tree under Wine, in the tree's prefix:
#   bench.sh BUILD_DIR
set -e
build=$(cd "$1" && pwd)
tools=$(cd "$(dirname "$0")" && pwd)
prefix="$build/wineprefix"
[ -f "$prefix/system.reg" ] || sh "$tools/wine-prefix.sh" create "$prefix"
for bench in "$build"/bench/*.exe; do
  sh "$tools/wine-run.sh" "$prefix" "$bench"
done
