#!/bin/sh
# Installs the Debian packages that the build and the tests need, when missing.
# Idempotent and quiet when everything is present.
set -e
packages="cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 python3 wine wine64 xvfb xauth googletest imagemagick g++ fp-utils zip unzip fonts-wine"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "bootstrap: installing$missing"
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
