#!/bin/sh
# Runs a Windows program under Wine in the given prefix:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# CTest uses it as the cross-compiling emulator, so every build tree has its own
# prefix (created by the test fixture, see tools/wine-prefix.sh).
#
# Processes that Wine starts on the way (the desktop process, programs a test
# launches) inherit the Unix descriptors of whoever started them and may outlive
# the test: the output goes through a file so that CTest's pipe closes when the
# program ends.
prefix=$1; shift
case "$prefix" in /*) ;; *) prefix="$PWD/$prefix" ;; esac
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
exit $rc
