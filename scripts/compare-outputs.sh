#!/bin/sh
# Runs the reading commands of two builds of adultify-cli on generated games (one
# neighbourhood of 216 residents, 99 neighbourhoods, a game in the files' older variants) and
# compares stdout, stderr and the exit status of each, byte for byte.
# Usage: scripts/compare-outputs.sh OLD-CLI [NEW-CLI] (NEW-CLI defaults to build/adultify-cli)
set -eu
old=$1
new=${2:-build/adultify-cli}
sample=$(dirname "$new")/adultify-sample
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export HOME XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"
"$sample" "$work/g216" --residents 216 --families 55 --children 40 --filler 2000 --seed 7 >/dev/null
"$sample" "$work/g99" --hoods 99 --residents 30 --filler 500 --seed 3 >/dev/null
"$sample" "$work/old" --variants --residents 40 --seed 5 >/dev/null
differ=0
runs=0
for game in g216 g99 old; do
    for command in hoods list residents children snapshots games "show 0" "show 3" \
        "--hood 2 list" "--hood 99 residents" "--json residents" "--json children" \
        "--json hoods" "--json show 1" strings; do
        # shellcheck disable=SC2086 # the command's words are split on purpose
        status_old=0 && "$old" --game "$work/$game" $command >"$work/o1" 2>"$work/e1" ||
            status_old=$?
        # shellcheck disable=SC2086
        status_new=0 && "$new" --game "$work/$game" $command >"$work/o2" 2>"$work/e2" ||
            status_new=$?
        runs=$((runs + 1))
        if ! cmp -s "$work/o1" "$work/o2" || ! cmp -s "$work/e1" "$work/e2" ||
            [ "$status_old" != "$status_new" ]; then
            echo "differs: $game: $command (exit $status_old / $status_new)"
            differ=$((differ + 1))
        fi
    done
done
echo "$runs command lines compared, $differ differ"
[ "$differ" -eq 0 ]
