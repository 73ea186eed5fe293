#!/bin/sh
# make run and make run-home: a write on the sample game (a snapshot) lands under the build
# folder, and the player's own ~/.config/adultify and ~/.local/share/adultify stay as they were.
set -eu
bin=$(cd "$1" && pwd)
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/real/.config/adultify" "$work/real/.local/share/adultify" "$work/build"
echo "/games/The Sims" >"$work/real/.config/adultify/remembered"
ln -s "$bin/adultify-sample" "$bin/adultify-cli" "$work/build/"
before=$(cd "$work/real" && find . -exec ls -ld --time-style=+%s.%N {} + | sort)

for where in prefix home; do
    kid=$(HOME="$work/real" sh "$scripts/run-sample.sh" "$work/build" $where \
        "$work/build/adultify-cli" residents | awk -F'\t' '$2 == "Child" { print $1; exit }')
    [ -n "$kid" ] || fail "$where: no child in the sample"
    HOME="$work/real" XDG_DATA_HOME="$work/real/.local/share" \
        sh "$scripts/run-sample.sh" "$work/build" $where "$work/build/adultify-cli" --yes \
        adultify "$kid" >/dev/null 2>&1 || fail "$where: adultify failed"
    [ "$(HOME="$work/real" sh "$scripts/run-sample.sh" "$work/build" $where \
        "$work/build/adultify-cli" snapshots | wc -l)" -eq 1 ] || fail "$where: no snapshot kept"
done
after=$(cd "$work/real" && find . -exec ls -ld --time-style=+%s.%N {} + | sort)
[ "$before" = "$after" ] || fail "the real home changed: $after"
echo "1 passed, 0 failed"
