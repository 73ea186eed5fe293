#!/bin/sh
# Runs one Windows program under Wine in the Windows build's prefix, as ctest's emulator.
# scripts/windows-tests.sh starts the prefix's server once for the whole run; alone, this
# starts Wine as usual.
set -eu
wine=${WINE:-/usr/lib/wine/wine64}
: "${WINEPREFIX:?WINEPREFIX names the test prefix (scripts/windows-tests.sh sets it)}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
exec "$wine" "$@"
