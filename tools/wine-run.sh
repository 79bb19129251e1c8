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
#
# Wine has been seen (once, on a fresh CI machine) to fail a start within a
# second, printing nothing: the program never ran. A test program always
# prints something once it runs, so such a start is tried again (twice at most)
# and said so; any run that printed something, or lasted longer, counts as it
# is.
prefix=$1; shift
case "$prefix" in /*) ;; *) prefix="$PWD/$prefix" ;; esac
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
attempt=1
while :; do
  started=$(date +%s)
  wine "$@" >"$out" 2>&1 </dev/null
  rc=$?
  cat "$out"
  if [ $rc -eq 0 ] || [ -s "$out" ] || [ $(( $(date +%s) - started )) -gt 1 ]; then
    exit $rc
  fi
  echo "wine-run: wine ended with exit code $rc before the program printed anything (attempt $attempt)"
  [ $attempt -ge 3 ] && exit $rc
  attempt=$((attempt + 1))
  sleep 1
done
