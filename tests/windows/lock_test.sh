#!/bin/sh
# One game, the Linux and the Windows build under Wine: while either holds the game's lock (as
# a running editor does), the other's adultify-cli is refused with exit 5 and leaves the files
# as they were; once it lets go, the same command goes through.
set -eu
. "$(dirname "$0")/wine_test_setup.sh"
holder=
cleanup() {
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home"
"$host/adultify-sample" "$work/game" --residents 6 --children 2 --seed 11 >/dev/null
linux_game="$work/game"
windows_game="Z:$(printf '%s' "$linux_game" | tr / '\\')"
failed=0

cli() { # system args...
    system=$1
    shift
    set +e
    if [ "$system" = linux ]; then
        env -u WINEPREFIX HOME="$work/home" "$host/adultify-cli" --game "$linux_game" "$@" \
            >"$work/out" 2>"$work/err"
    else
        "$wine" "$win/adultify-cli.exe" --game "$windows_game" "$@" </dev/null \
            >"$work/out" 2>"$work/err"
    fi
    code=$?
    set -e
}

hold() { # system: starts the holder and waits until it holds the lock
    rm -f "$work/held" "$work/release"
    mkfifo "$work/release"
    if [ "$1" = linux ]; then
        "$host/hold-game-lock" "$linux_game" <"$work/release" >"$work/held" &
    else
        "$wine" "$win/hold-game-lock.exe" "$windows_game" <"$work/release" >"$work/held" &
    fi
    holder=$!
    exec 3>"$work/release"
    tries=0
    until grep -q . "$work/held" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -lt 300 ] || break
        sleep 0.1
    done
    if ! grep -q '^held' "$work/held"; then
        echo "FAIL: the $1 holder did not take the lock: $(cat "$work/held")"
        exit 1
    fi
}

let_go() {
    exec 3>&-
    wait "$holder" || true
    holder=
}

for holder_system in linux windows; do
    other=windows
    [ "$holder_system" = windows ] && other=linux
    before=$(cat "$linux_game"/UserData/Neighborhood.iff "$linux_game"/UserData/Characters/* | cksum)
    hold "$holder_system"
    cli "$other" --yes --seed 5 adultify 0
    after=$(cat "$linux_game"/UserData/Neighborhood.iff "$linux_game"/UserData/Characters/* | cksum)
    if [ "$code" -ne 5 ] || ! grep -q 'Another Adultify is editing this game' "$work/err" ||
        [ "$before" != "$after" ]; then
        echo "FAIL: $other ran while $holder_system held the lock (exit $code):"
        cat "$work/err"
        failed=1
    fi
    let_go
    cli "$other" --yes --seed 5 skill 1 Cooking 500
    if [ "$code" -ne 0 ]; then
        echo "FAIL: $other was refused after $holder_system let go (exit $code):"
        cat "$work/err"
        failed=1
    fi
done

[ "$failed" -eq 0 ] || exit 1
echo "each build refused while the other held the lock"
