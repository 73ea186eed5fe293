#!/bin/sh
# The Windows adultify-cli.exe finds the game through the registry value the game's
# installer writes, set here with Wine's own reg in the test prefix: each kind of value, the
# 64-bit system's WOW6432Node copy, and a game folder with a letter outside ASCII.
set -eu
. "$(dirname "$0")/wine_test_setup.sh"
key='HKLM\Software\Maxis\The Sims'
wow='HKLM\Software\Wow6432Node\Maxis\The Sims'
clear_keys() {
    "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
    "$wine" reg delete "$wow" /f >/dev/null 2>&1 || true
}
trap 'clear_keys; rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

"$host/adultify-sample" "$work/Les Sims é" --residents 4 --children 1 --seed 5 >/dev/null
game="Z:$(printf '%s' "$work/Les Sims é" | tr / '\\')"
tab=$(printf '\t')

cli() { "$wine" "$win/adultify-cli.exe" "$@" </dev/null; }
set_value() { # key type data
    clear_keys
    # What reg says is kept for the failure's message: it has failed once, unexplained, in CI.
    "$wine" reg add "$1" /v SIMS_DATA /t "$2" /d "$3" /f >"$work/reg" 2>&1 ||
        fail "reg add $2 $3: $(tr -d '\r' <"$work/reg")"
}

found() { # case: the game is listed first, from the registry, and its neighbourhoods read
    out=$(cli games) || fail "$1: games exits $?"
    line=$(printf '%s\n' "$out" | head -n 1)
    expected="1${tab}registry${tab}${game}\\${tab}1,3${tab}"
    case "$line" in
    "$expected"[0-9]*) ;;
    *) fail "$1: games printed '$line', not '$expected<code page>'" ;;
    esac
    [ "$(cli hoods)" = "Combo1: Neighbourhood 1
Combo1: Neighbourhood 3" ] || fail "$1: hoods"
}

not_found() { # case: nothing found, and start-up says so as the game does
    [ -z "$(cli games)" ] || fail "$1: games lists a game"
    set +e
    cli hoods >"$work/out" 2>"$work/err"
    code=$?
    set -e
    [ "$code" -eq 2 ] || fail "$1: hoods exits $code, not 2"
    grep -q "^MsgBox No Sims: The Sims Not Found" "$work/err" || fail "$1: no No Sims message"
}

set_value "$key" REG_SZ "$game"
found "REG_SZ"
set_value "$key" REG_SZ "$game\\"
found "REG_SZ with a trailing backslash"
set_value "$wow" REG_SZ "$game"
found "the WOW6432Node key"
set_value "$key" REG_SZ ""
not_found "an empty value"
set_value "$key" REG_DWORD 1234
not_found "REG_DWORD"
# A binary value is read as a 16-bit number: 34 12 is the folder "4660", which holds no game.
set_value "$key" REG_BINARY 3412
[ -z "$(cli games)" ] || fail "REG_BINARY: games lists a game"
set +e
cli hoods >"$work/out" 2>"$work/err"
code=$?
set -e
[ ! -s "$work/out" ] || fail "REG_BINARY: hoods lists neighbourhoods"
[ "$code" -ne 0 ] || fail "REG_BINARY: hoods succeeded"
clear_keys
not_found "no key"

[ "$failed" -eq 0 ] || exit 1
echo "7 passed, 0 failed"
