#!/bin/sh
# Starts the editor on a generated sample game inside a generated Wine prefix, so that the game
# is found through the prefix's registry exactly as on a player's machine.
set -eu
build=${1:-build}
prefix="$build/sample-prefix"
if [ ! -f "$prefix/system.reg" ]; then
    "$build/adultify-sample" "$prefix" --wine --residents 24 --children 6 >/dev/null
fi
WINEPREFIX="$(cd "$prefix" && pwd)"
export WINEPREFIX
echo "Sample game in the Wine prefix $WINEPREFIX"
exec "$build/adultify"
