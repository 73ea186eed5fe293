#!/bin/sh
# adultify-cli.exe under Wine against the Linux build listing the same 999-resident game, and
# --version against a trivial .exe that imports nothing but kernel32, all under one running
# wineserver. Wall-clock medians of interleaved rounds: a Wine program's work is partly done by
# the server, whose time is not the child's.
# usage: bench/wine-bench.sh [LINUX-BUILD [WINDOWS-BUILD [OLDER-EXE]]]
set -eu
host=${1:-build}
win=${2:-build-windows}
older=${3:-}
rounds=${ROUNDS:-7}
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
trap '"$server" -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$WINEPREFIX"
"$server" -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1
printf '%s\n' '#include <windows.h>' 'void start(void) { ExitProcess(0); }' >"$work/trivial.c"
x86_64-w64-mingw32-gcc -O2 -nostdlib -e start -o "$work/trivial.exe" "$work/trivial.c" -lkernel32
"$host/adultify-sample" "$work/game" --residents 999 --families 250 --children 200 \
    --filler 90000 --seed 99 >/dev/null
game_win="Z:$work/game"

ms() { # runs the command, prints its wall-clock milliseconds
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 </dev/null || true
    echo $((($(date +%s%N) - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
run() { # name, then the commands of one round, separated by ::
    name=$1
    shift
    : >"$work/times"
    i=0
    while [ $i -lt "$rounds" ]; do
        k=0
        for cmd in "$@"; do
            k=$((k + 1))
            # shellcheck disable=SC2086
            echo "$k $(ms $cmd)" >>"$work/times"
        done
        i=$((i + 1))
    done
    line="$name:"
    k=0
    for cmd in "$@"; do
        k=$((k + 1))
        line="$line $(awk -v k=$k '$1 == k { print $2 }' "$work/times" | median) ms"
    done
    echo "$line"
}
echo "load: $(cat /proc/loadavg)"
after="$wine $win/adultify-cli.exe"
if [ -n "$older" ]; then
    echo "list, 999 residents: Linux build / .exe / older .exe"
    run "list" "$host/adultify-cli --game $work/game list" "$after --game $game_win list" \
        "$wine $older --game $game_win list"
    echo "--version: trivial .exe / .exe / older .exe"
    run "--version" "$wine $work/trivial.exe" "$after --version" "$wine $older --version"
else
    echo "list, 999 residents: Linux build / .exe"
    run "list" "$host/adultify-cli --game $work/game list" "$after --game $game_win list"
    echo "--version: trivial .exe / .exe"
    run "--version" "$wine $work/trivial.exe" "$after --version"
fi
