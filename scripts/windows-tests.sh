#!/bin/sh
# Runs the Windows build's tests under Wine: one prefix inside the build folder, one Wine
# server for the whole run, each test program one ctest entry. The script tests compare with
# the Linux build in ADULTIFY_HOST_BUILD (build/ by default).
set -eu
cd "$(dirname "$0")/.."
build=${WINDOWS_BUILD:-build-windows}
ADULTIFY_HOST_BUILD=${ADULTIFY_HOST_BUILD:-$(pwd)/build}
export ADULTIFY_HOST_BUILD
sh scripts/setup-debian.sh wine64 xvfb xauth xdotool fonts-wine
WINEPREFIX="$(pwd)/$build/wine-prefix"
WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
mkdir -p "$WINEPREFIX"
"$server" -p </dev/null >/dev/null 2>&1
trap '"$server" -k 2>/dev/null || true' EXIT
# The first start creates the prefix and its services; they must not hold ctest's output
# pipe open, or ctest waits for them forever.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
cd "$build"
ctest --output-on-failure -j2
