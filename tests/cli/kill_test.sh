#!/bin/sh
# Adultify on a 999-resident neighbourhood, killed (SIGKILL) at random moments, 200 times. After
# each kill the next start must find the neighbourhood and the character file both as they were
# or both grown up, byte for byte, with nothing half-written left behind. Then grow-up-all on
# a smaller neighbourhood, killed as often: each child wholly a child or wholly grown up, the
# first ones first, and the neighbourhood as after that many single runs. The two halves run
# side by side, each in a folder of its own: both are mostly asleep between kills.
set -eu
bin="$1"
runs=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

adultify_killed() {
    work="$work/$1"
    mkdir "$work"
    game="$work/game"
    "$bin/adultify-sample" "$game" --residents 999 --families 250 --children 200 --filler 2000 \
        --seed 5 >/dev/null
    export XDG_DATA_HOME="$work/data"
    cli() { "$bin/adultify-cli" --game "$game" "$@"; }

    line=$(cli residents | awk -F '\t' '$2 == "Child" { print; exit }')
    k=$(echo "$line" | cut -f1)
    user=$(echo "$line" | cut -f3)
    hood="$game/UserData/Neighborhood.iff"
    char=$(find "$game/UserData/Characters" -iname "$user.iff")
    [ -n "$k" ] && [ -f "$char" ] || fail "no child to grow up"
    cp "$hood" "$work/hood.before"
    cp "$char" "$work/char.before"

    reset() {
        cp "$work/hood.before" "$hood"
        cp "$work/char.before" "$char"
        rm -f "$game"/UserData/Neighborhood.0*
    }

    # What a whole run leaves.
    cli --seed 1 adultify "$k" >/dev/null 2>&1 || fail "a whole run"
    cp "$hood" "$work/hood.after"
    cp "$char" "$work/char.after"
    cmp -s "$work/hood.before" "$work/hood.after" && fail "the whole run changed nothing"
    reset

    old=0
    new=0
    awk -v n="$runs" 'BEGIN { srand(7); for (i = 0; i < n; i++) printf "%.3f\n", rand() * 0.4 }' \
        >"$work/delays"
    while read -r delay; do
        "$bin/adultify-cli" --game "$game" --seed 1 adultify "$k" >/dev/null 2>&1 &
        pid=$!
        sleep "$delay"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        # The next start finishes or drops what the killed run left.
        cli list >/dev/null 2>"$work/err" || fail "the next start after a kill at ${delay}s"
        if cmp -s "$hood" "$work/hood.before"; then
            cmp -s "$char" "$work/char.before" || fail "old neighbourhood, grown-up Sim (${delay}s)"
            old=$((old + 1))
        else
            cmp -s "$hood" "$work/hood.after" ||
                fail "a neighbourhood neither old nor new (${delay}s)"
            cmp -s "$char" "$work/char.after" ||
                fail "new neighbourhood, Sim not grown up (${delay}s)"
            new=$((new + 1))
        fi
        [ ! -e "$game/.adultify-intent" ] || fail "the record of the save is left (${delay}s)"
        leftovers=$(find "$game" -name '*.adultify-new*' | head -1)
        [ -z "$leftovers" ] || fail "a temporary file is left: $leftovers (${delay}s)"
        reset
    done <"$work/delays"
    echo "killed $runs times: $old left as they were, $new grown up, none half-done"
}

# grow-up-all: every child of a second game, in List1's order.
grow_up_all_killed() {
    work="$work/$1"
    mkdir "$work"
    game="$work/game2"
    hood="$game/UserData/Neighborhood.iff"
    "$bin/adultify-sample" "$game" --residents 40 --families 10 --children 6 --filler 2000 \
        --seed 6 >/dev/null
    export XDG_DATA_HOME="$work/data"
    cli() { "$bin/adultify-cli" --game "$game" "$@"; }
    mkdir "$work/chars"
    cli residents | awk -F '\t' '$2 == "Child" { print $1 "\t" $3 }' >"$work/children"
    [ "$(wc -l <"$work/children")" -eq 6 ] || fail "six children to grow up"
    cp "$hood" "$work/hood.0"
    step=0
    while IFS="$(printf '\t')" read -r k user; do
        step=$((step + 1))
        find "$game/UserData/Characters" -iname "$user.iff" >>"$work/paths"
        char=$(tail -n 1 "$work/paths")
        cp "$char" "$work/chars/$step.before"
        # What each child's single run leaves, one after another.
        cli --seed 1 adultify "$k" >/dev/null 2>&1 || fail "the single run of child $k"
        cp "$char" "$work/chars/$step.after"
        cp "$hood" "$work/hood.$step"
    done <"$work/children"
    reset2() {
        cp "$work/hood.0" "$hood"
        n=0
        while read -r char; do
            n=$((n + 1))
            cp "$work/chars/$n.before" "$char"
        done <"$work/paths"
        rm -f "$game"/UserData/Neighborhood.0*
    }
    reset2
    start=$(date +%s.%N)
    cli --seed 1 grow-up-all >/dev/null 2>&1 || fail "a whole grow-up-all"
    span=$(echo "$start $(date +%s.%N)" | awk '{ printf "%.3f", ($2 - $1) * 0.9 }')
    cmp -s "$hood" "$work/hood.6" || fail "grow-up-all differs from six single runs"
    reset2

    counts=""
    awk -v n="$runs" -v s="$span" \
        'BEGIN { srand(11); for (i = 0; i < n; i++) printf "%.3f\n", rand() * s }' \
        >"$work/delays"
    while read -r delay; do
        "$bin/adultify-cli" --game "$game" --seed 1 grow-up-all >/dev/null 2>&1 &
        pid=$!
        sleep "$delay"
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        cli list >/dev/null 2>"$work/err" ||
            fail "the next start after a kill at ${delay}s in grow-up-all"
        grown=0
        n=0
        while read -r char; do
            n=$((n + 1))
            if cmp -s "$char" "$work/chars/$n.after"; then
                [ "$grown" -eq $((n - 1)) ] ||
                    fail "child $n grew up before an earlier one (${delay}s)"
                grown=$n
            else
                cmp -s "$char" "$work/chars/$n.before" || fail "child $n half grown up (${delay}s)"
            fi
        done <"$work/paths"
        cmp -s "$hood" "$work/hood.$grown" ||
            fail "the neighbourhood does not match $grown children grown up (${delay}s)"
        [ ! -e "$game/.adultify-intent" ] || fail "the record of the save is left (${delay}s)"
        leftovers=$(find "$game" -name '*.adultify-new*' | head -1)
        [ -z "$leftovers" ] || fail "a temporary file is left: $leftovers (${delay}s)"
        counts="$counts $grown"
        reset2
    done <"$work/delays"
    echo "grow-up-all killed $runs times; children grown up at each kill:$counts"
}

( adultify_killed one ) >"$work/one.log" 2>&1 &
one=$!
( grow_up_all_killed two ) >"$work/two.log" 2>&1 &
two=$!
status=0
wait "$one" || status=1
wait "$two" || status=1
cat "$work/one.log" "$work/two.log"
[ "$status" -eq 0 ] || exit 1
echo "1 passed, 0 failed"
