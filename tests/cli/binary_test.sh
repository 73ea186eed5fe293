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

# The editor's own command line answers without a display; with a display that is not there
# it says so in words (Qt alone would abort).
if [ -x "$bin/adultify" ]; then
    nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }
    [ "$(nodisplay "$bin/adultify" --version)" = "$(echo "$("$bin/adultify-cli" --version)" | sed 's/^adultify-cli/adultify/')" ] ||
        fail "adultify --version"
    nodisplay "$bin/adultify" --help 2>/dev/null | grep -q "^usage: adultify" || fail "adultify --help on stdout, exit 0"
    set +e
    nodisplay "$bin/adultify" --bogus >"$work/out" 2>"$work/err"; code=$?
    nodisplay DISPLAY=:99 "$bin/adultify" 2>"$work/err99"; code99=$?
    set -e
    [ "$code" -eq 1 ] && [ ! -s "$work/out" ] && grep -q "^usage: adultify" "$work/err" ||
        fail "adultify --bogus: exit $code, usage on stderr"
    [ "$code99" -eq 1 ] && grep -q "^adultify: No display could be opened (no X server answers at DISPLAY=:99" "$work/err99" ||
        fail "DISPLAY=:99: exit $code99, $(cat "$work/err99")"
fi
echo "1 passed, 0 failed"
