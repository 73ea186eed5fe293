#!/bin/sh
# The Windows adultify-cli.exe under Wine against the Linux adultify-cli on two copies of one
# generated game: every command prints the same standard output and error and exits the
# same. Each system is given the game in its own spelling (Z:\... under Wine); paths are
# compared after that one substitution, snapshot IDs and times after masking them.
set -eu
. "$(dirname "$0")/wine_test_setup.sh"
trap 'rm -rf "$work"' EXIT

"$host/adultify-sample" "$work/linux/Les Sims é" --residents 6 --children 2 --seed 11 \
    --variants >/dev/null
# Players' games in their languages, beside it: names in code pages 1252 and 932.
for language in uk de fr ja; do
    "$host/adultify-sample" "$work/linux/Les Sims é/$language" --language "$language" >/dev/null
done
cp -R "$work/linux" "$work/windows"
linux_game="$work/linux/Les Sims é"
windows_game="Z:$(printf '%s' "$work/windows/Les Sims é" | tr / '\\')"
mkdir -p "$work/home"

run() { # system step args...
    system=$1 step=$2
    shift 2
    set +e
    if [ "$system" = linux ]; then
        env -u WINEPREFIX HOME="$work/home" XDG_DATA_HOME="$work/linux-data" \
            XDG_CONFIG_HOME="$work/config" "$host/adultify-cli" "$@" \
            >"$work/$step.$system.out" 2>"$work/$step.$system.err"
    else
        "$wine" "$win/adultify-cli.exe" "$@" </dev/null \
            >"$work/$step.$system.out" 2>"$work/$step.$system.err"
    fi
    echo $? >"$work/$step.$system.code"
    set -e
}

# The game folder becomes GAME, and the separators of the path after it "/".
normal() { # file game
    sed -e "s|$2|GAME|g" "$1" | tr '\\' '\001' |
        sed -e ':a' -e 's|\(GAME\(/[A-Za-z0-9._-]*\)*\)\x01|\1/|' -e 'ta' | tr '\001' '\\' |
        sed -E 's/^[0-9]{8}-[0-9]{6}-[0-9]{3}-[0-9a-f-]+\t[^\t]+\t/ID\tTIME\t/'
}

failed=0
steps=0
# Runs one system with @GAME@ (and @GAME@/sub/path) in its spelling of the game folder, and
# @SNAPSHOT@ as the newest snapshot its own `snapshots` step listed.
run_in_spelling() { # system step args...
    system=$1 step=$2
    shift 2
    game=$linux_game
    [ "$system" = windows ] && game=$windows_game
    for a; do
        shift
        case "$a" in
        @GAME@*)
            rest=${a#@GAME@}
            [ "$system" = windows ] && rest=$(printf '%s' "$rest" | tr / '\\')
            a="$game$rest"
            ;;
        @SNAPSHOT@) a=$(head -n 1 "$work/snapshots.$system.out" | cut -f 1) ;;
        esac
        set -- "$@" "$a"
    done
    run "$system" "$step" "$@"
}

both() { # step args...
    step=$1
    shift
    steps=$((steps + 1))
    run_in_spelling linux "$step" "$@"
    run_in_spelling windows "$step" "$@"
    for part in out err code; do
        normal "$work/$step.linux.$part" "$linux_game" >"$work/l"
        normal "$work/$step.windows.$part" "$(printf '%s' "$windows_game" | sed 's/\\/\\\\/g')" \
            >"$work/w"
        if ! cmp -s "$work/l" "$work/w"; then
            echo "FAIL: $step ($*): standard $part differs (Linux, then Windows):"
            diff "$work/l" "$work/w" | head -20
            failed=1
        fi
    done
}

both version --version
both help --help
both usage bogus
both no-command --game @GAME@
both hoods --game @GAME@ hoods
both list --game @GAME@ list
both list-3 --game @GAME@ --hood 3 list
both no-hood --game @GAME@ --hood 2 list
both residents --game @GAME@ residents
both show-0 --game @GAME@ show 0
both show-1 --game @GAME@ --trace show 1
both show-past --game @GAME@ show 99
both not-a-game --game @GAME@/UserData list
both adultify-adult --game @GAME@ adultify 1
both adultify-no --game @GAME@ --seed 5 adultify 0
both adultify-yes --game @GAME@ --seed 5 --yes adultify 0
both skill --game @GAME@ --yes skill 1 Cooking 500
both fix-thumbnails --game @GAME@ --yes fix-thumbnails 2
both body-strings --game @GAME@ body-strings 2
both save --game @GAME@ save
both keep-personality --game @GAME@ --seed 9 --yes --keep-personality --hood 3 adultify 0
both codepage --game @GAME@ --codepage 1251 list
for language in uk de fr ja; do
    codepage=1252
    [ "$language" = ja ] && codepage=932
    both "list-$language" --game "@GAME@/$language" --codepage $codepage list
    both "show-$language" --game "@GAME@/$language" --codepage $codepage show 1
done
both snapshots --game @GAME@ snapshots
both no-snapshot --game @GAME@ restore 20000101-000000-000-0
both games games
both found --found 1 list
both restore --game @GAME@ --yes restore @SNAPSHOT@
both restored --game @GAME@ residents

[ "$failed" -eq 0 ] || exit 1
echo "$steps passed, 0 failed"
