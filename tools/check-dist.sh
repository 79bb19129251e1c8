#!/bin/sh
# Checks a release folder (and its zip) made by `make dist`:
#   check-dist.sh DIST_FOLDER ZIP HLPGEN
# Every file that setup.exe installs must be there and look like what it is:
# programs start with "MZ", the help files carry their formats' signatures and
# the Windows Help file reads back with its four context numbers, the profiles
# are groups of four CR LF lines with a known type. Exit code 0, or 1 with the
# faults listed.
dist=$1 zip=$2 hlpgen=$3
faults=0
fault() { echo "check-dist: $*" >&2; faults=$((faults + 1)); }
# The first bytes of a file, as hex.
head_hex() { od -An -tx1 -N"$2" "$1" | tr -d ' \n'; }

# The files of the setup's copy list, and setup.exe.
for f in kzo.exe kzo.hlp kzo.chm remover.exe whatsnew.txt tickr.exe kzo.cnt kill.exe kzotask.exe kzo.pro kzo.wav tickrnt.exe setup.exe; do
  [ -s "$dist/$f" ] || fault "$f is missing"
done
for f in "$dist"/*.exe; do
  [ "$(head_hex "$f" 2)" = "4d5a" ] || fault "$(basename "$f") is not a Windows program"
done

[ "$(head_hex "$dist/kzo.chm" 4)" = "49545346" ] || fault "kzo.chm is not an HTML Help file (ITSF)"
[ "$(head_hex "$dist/kzo.hlp" 4)" = "3f5f0300" ] || fault "kzo.hlp is not a Windows Help file"
if contexts=$("$hlpgen" --check "$dist/kzo.hlp"); then
  for expected in "context 0	KZO Scheduler" "context 1	The Terminal" "context 2	Creating and editing tasks" "context 3	Credits"; do
    printf '%s\n' "$contexts" | grep -qx "$expected" || fault "kzo.hlp lacks \"$expected\""
  done
else
  fault "kzo.hlp does not read back"
fi
head -n 1 "$dist/kzo.cnt" | grep -q '^:Base kzo.hlp' || fault "kzo.cnt does not name kzo.hlp"

[ "$(head_hex "$dist/kzo.wav" 4)" = "52494646" ] && [ "$(od -An -c -j8 -N4 "$dist/kzo.wav" | tr -d ' ')" = "WAVE" ] \
  || fault "kzo.wav is not a WAV file"

# Profiles: four CR LF lines each, the third a type code.
lines=$(wc -l < "$dist/kzo.pro")
crs=$(tr -cd '\r' < "$dist/kzo.pro" | wc -c)
[ "$lines" -gt 0 ] && [ "$crs" -eq "$lines" ] && [ $((lines % 4)) -eq 0 ] || fault "kzo.pro is not groups of four CR LF lines"
awk 'NR % 4 == 3 { sub(/\r$/, ""); if ($0 !~ /^(APP|DOC|MSG|SDN)$/) bad = 1 } END { exit bad }' "$dist/kzo.pro" \
  || fault "kzo.pro has a profile of an unknown type"
grep -q "6.30, Build 677" "$dist/whatsnew.txt" || fault "whatsnew.txt does not name this release"

# The zip holds the folder.
if [ -n "$zip" ]; then
  for f in "$dist"/*; do
    unzip -l "$zip" | grep -q "/$(basename "$f")\$" || fault "$zip lacks $(basename "$f")"
  done
fi

[ $faults -eq 0 ] || exit 1
echo "check-dist: $(ls "$dist" | wc -l) files in $dist look right"
