#!/bin/sh
# Starts the editor on a generated sample game inside a generated Wine prefix, so that the game
# is found through the prefix's registry exactly as on a player's machine. With "home" as the
# second argument: on a generated home folder with the game in every place it is looked for
# (File, Games lists them). Any further arguments are the program to start instead of the
# editor, with its arguments.
#
# The program gets a home, config and data folder of its own under the build folder, so that a
# folder chosen in the sample's path dialog, or a sample snapshot, never reaches the player's
# real ~/.config/adultify and ~/.local/share/adultify.
set -eu
build=${1:-build}
where=${2:-prefix}
[ $# -gt 2 ] && shift 2 || set -- "$build/adultify"

# X finds its cookie through HOME: keep the real one.
if [ -z "${XAUTHORITY:-}" ] && [ -f "${HOME:-/nonexistent}/.Xauthority" ]; then
    XAUTHORITY="$HOME/.Xauthority"
    export XAUTHORITY
fi
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_STATE_HOME || true

if [ "$where" = "home" ]; then
    root="$build/sample-home"
    if [ ! -d "$root/home" ]; then
        "$build/adultify-sample" --home "$root" >/dev/null
    fi
    HOME="$(cd "$root/home" && pwd)"
    export HOME
    unset WINEPREFIX || true
    echo "Sample home folder at $HOME" >&2
    exec "$@"
fi
prefix="$build/sample-prefix"
if [ ! -f "$prefix/system.reg" ]; then
    "$build/adultify-sample" "$prefix" --wine --residents 24 --children 6 >/dev/null
fi
mkdir -p "$build/sample-run-home"
HOME="$(cd "$build/sample-run-home" && pwd)"
WINEPREFIX="$(cd "$prefix" && pwd)"
export HOME WINEPREFIX
echo "Sample game in the Wine prefix $WINEPREFIX, home folder $HOME" >&2
exec "$@"
