#!/bin/sh
# Runs the benchmarks of a build tree under Wine:
#   bench.sh BUILD_DIR
# The engine's costs, the next-run search, the run history's cost to a launch
# and the Terminal's frame on a large schedule run in the tree's test prefix. The launch latency starts
# the real tickr.exe, which takes over the user's scheduler settings, so it runs
# in a prefix of its own (BUILD_DIR/benchprefix), on a display (a virtual one
# when there is none), for about five minutes; LATENCY_PASSES sets how many
# passes it waits for (at least 3, default 4).
set -e
build=$(cd "$1" && pwd)
tools=$(cd "$(dirname "$0")" && pwd)
prefix="$build/wineprefix"
[ -f "$prefix/system.reg" ] || sh "$tools/wine-prefix.sh" create "$prefix"
sh "$tools/wine-run.sh" "$prefix" "$build/bench/bench_engine.exe"
echo
sh "$tools/wine-run.sh" "$prefix" "$build/bench/bench_next_run.exe"
echo
sh "$tools/wine-run.sh" "$prefix" "$build/bench/bench_history.exe"
echo
# The Terminal's real frame and list: windows, so a display.
sh "$tools/with-display.sh" sh "$tools/wine-run.sh" "$prefix" "$build/bench/bench_terminal.exe"

echo
latency_prefix="$build/benchprefix"
if [ -f "$latency_prefix/system.reg" ]; then
  # A scheduler left from an interrupted run would hold the single-instance mutex.
  sh "$tools/wine-prefix.sh" kill "$latency_prefix"
else
  sh "$tools/wine-prefix.sh" create "$latency_prefix"
fi
trap 'sh "$tools/wine-prefix.sh" kill "$latency_prefix"' EXIT
passes=${LATENCY_PASSES:-4}
echo "Launch latency: tickr.exe and a task due every minute, $passes passes (about $((passes + 1)) minutes) ..."
sh "$tools/with-display.sh" sh "$tools/wine-run.sh" "$latency_prefix" \
  "$build/bench/launch_latency.exe" "$passes"
