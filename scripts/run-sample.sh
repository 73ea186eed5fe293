#!/bin/sh
# Starts the editor on a generated sample game inside a generated Wine prefix, so that the game
# is found through the prefix's registry exactly as on a player's machine. With "home" as the
# second argument: on a generated home folder with the game in every place it is looked for
# (File, Games lists them).
set -eu
build=${1:-build}
if [ "${2:-}" = "home" ]; then
    root="$build/sample-home"
    if [ ! -d "$root/home" ]; then
        "$build/adultify-sample" --home "$root" >/dev/null
    fi
    HOME="$(cd "$root/home" && pwd)"
    export HOME
    unset WINEPREFIX XDG_CONFIG_HOME XDG_DATA_HOME || true
    echo "Sample home folder at $HOME"
    exec "$build/adultify"
fi
prefix="$build/sample-prefix"
if [ ! -f "$prefix/system.reg" ]; then
    "$build/adultify-sample" "$prefix" --wine --residents 24 --children 6 >/dev/null
fi
WINEPREFIX="$(cd "$prefix" && pwd)"
export WINEPREFIX
echo "Sample game in the Wine prefix $WINEPREFIX"
exec "$build/adultify"
