#!/bin/sh
# The built programs end to end: a generated Wine prefix, found through its registry.
set -eu
bin=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$bin/adultify-sample" --help 2>/dev/null | grep -q "^usage: adultify-sample" || fail "adultify-sample --help on stdout, exit 0"
game=$("$bin/adultify-sample" "$work/prefix" --wine --residents 6 --children 2 --seed 3)
expected="Combo1: Neighbourhood 1
Combo1: Neighbourhood 3"
[ "$("$bin/adultify-cli" --game "$game" hoods)" = "$expected" ] || fail "hoods with --game"
[ "$(HOME=$work WINEPREFIX="$work/prefix" "$bin/adultify-cli" hoods)" = "$expected" ] || fail "hoods through WINEPREFIX"
# Without WINEPREFIX the prefix is ~/.wine.
mv "$work/prefix" "$work/.wine"
[ "$(HOME=$work "$bin/adultify-cli" hoods)" = "$expected" ] || fail "hoods through ~/.wine"
set +e
HOME=$work/nowhere "$bin/adultify-cli" hoods 2>"$work/err"
code=$?
set -e
[ "$code" -eq 2 ] || fail "no game found should exit 2, got $code"
grep -q "^MsgBox No Sims: The Sims Not Found" "$work/err" || fail "the No Sims message"
[ "$(HOME=$work "$bin/adultify-cli" list | wc -l)" -eq 6 ] || fail "six residents"
# A game given as a relative folder: the snapshot still holds both files, so it can be undone.
cd "$work"
mv .wine prefix
rel=$(realpath --relative-to=. "$game")
kid=$(HOME=$work "$bin/adultify-cli" --game "$rel" residents | awk -F'\t' '$2 == "Child" { print $1; exit }')
HOME=$work "$bin/adultify-cli" --game "$rel" --yes adultify "$kid" >/dev/null 2>&1 || fail "adultify with a relative --game"
files=$(HOME=$work "$bin/adultify-cli" --game "$rel" snapshots | cut -f5)
case "$files" in *Neighborhood.iff*Characters*|*Characters*Neighborhood.iff*) ;; *) fail "the snapshot lacks its files: '$files'" ;; esac
echo "1 passed, 0 failed"
