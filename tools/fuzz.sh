#!/bin/sh
# Fuzzes the pure modules natively (`make fuzz`): builds the libFuzzer
# harnesses of fuzz/ with the host's clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each for a bounded time:
#   fuzz.sh [HARNESS...]          (all of them when none is named)
# FUZZ_SECONDS sets the time of each run (default 60). Each run starts from the
# committed seeds (fuzz/corpus/HARNESS) and the inputs that earlier runs found
# (build/fuzz/corpus/HARNESS); an input that breaks a promise is kept in
# build/fuzz/findings/HARNESS/. Exits non-zero when there is a finding.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${FUZZ_SECONDS:-60}

# The host compiler and libFuzzer's runtime; the Windows build needs neither.
packages="clang libclang-rt-dev cmake ninja-build"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "fuzz: installing$missing"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

[ -f "$build/build.ninja" ] ||
  cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2

harnesses="$*"
[ -n "$harnesses" ] || harnesses=$(cd "$root/fuzz/corpus" && ls)

printf '\n%-20s %12s %10s %8s %9s\n' harness executions "exec/s" corpus findings
status=0
for h in $harnesses; do
  corpus="$build/corpus/$h"
  findings="$build/findings/$h"
  mkdir -p "$corpus" "$findings"
  log="$build/$h.log"
  : >"$build/$h.started"
  set +e
  # New inputs go to the first folder; the committed seeds stay as they are.
  "$build/$h" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -artifact_prefix="$findings/" "$corpus" "$root/fuzz/corpus/$h" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  units=$(ls "$corpus" | wc -l)
  found=$(find "$findings" -type f -newer "$build/$h.started" | wc -l)
  printf '%-20s %12s %10s %8s %9s\n' "$h" "${runs:-?}" "${rate:-?}" "$units" "$found"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    status=1
    echo "  finding (exit $rc), see $log:"
    grep -m1 -E 'broken promise|ERROR: |runtime error' "$log" | sed 's/^/    /'
  fi
done
[ "$status" -eq 0 ] && echo "No findings." || echo "Findings: reproduce one with build/fuzz/HARNESS FILE."
exit $status
