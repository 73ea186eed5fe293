#!/bin/sh
# adultify-cli.exe under Wine listing generated games of 100, 500 and 999 residents, against the
# Linux build on the same game and against the Wine floor: a .exe that reads each file of the
# game's folders once through the Windows API, as few Wine server calls as a read can take.
# Then --version against a trivial .exe that imports nothing but kernel32. All under one
# running wineserver, rounds interleaved. Each cell is "wall / cpu" medians in ms; the cpu is
# the process's own plus the wineserver's, which does part of a Wine program's work (the
# server's is counted in ticks of 10 ms, so its part is the mean over the rounds).
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
cat >"$work/floor.c" <<'EOF'
#include <windows.h>
static char buf[1 << 20];
/* Each file of the folders named reads once, whole. */
int wmain(int argc, wchar_t **argv) {
    for (int a = 1; a < argc; ++a) {
        wchar_t path[2048];
        lstrcpyW(path, argv[a]);
        lstrcatW(path, L"\\*");
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileExW(path, FindExInfoBasic, &found, FindExSearchNameMatch,
                                       NULL, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            lstrcpyW(path, argv[a]);
            lstrcatW(path, L"\\");
            lstrcatW(path, found.cFileName);
            HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, NULL);
            if (file == INVALID_HANDLE_VALUE) continue;
            DWORD n;
            while (ReadFile(file, buf, sizeof buf, &n, NULL) && n > 0) {}
            CloseHandle(file);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    return 0;
}
EOF
x86_64-w64-mingw32-gcc -O2 -municode -o "$work/floor.exe" "$work/floor.c"
# Runs a command with its output thrown away; prints its wall and CPU time in ms.
cat >"$work/timed.c" <<'EOF'
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
int main(int argc, char **argv) {
    struct timespec a, b;
    clock_gettime(CLOCK_MONOTONIC, &a);
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0), dup2(null, 1), dup2(null, 2);
        execv(argv[1], argv + 1);
        _exit(127);
    }
    int status;
    struct rusage use;
    wait4(pid, &status, 0, &use);
    clock_gettime(CLOCK_MONOTONIC, &b);
    printf("%.1f %.1f\n", (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6,
           (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1e3 +
               (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e3);
    return 0;
}
EOF
cc -O2 -o "$work/timed" "$work/timed.c"

# This prefix's server, not another user's: the one whose environment names the prefix.
server_pid=0
for pid in $(pgrep wineserver); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
        server_pid=$pid
    fi
done
server_ticks() { # the wineserver's CPU so far, in ticks of 10 ms
    awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$server_pid/stat" 2>/dev/null || echo 0
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
            before=$(server_ticks)
            # shellcheck disable=SC2086
            times=$("$work/timed" $cmd)
            echo "$k $times $(($(server_ticks) - before))" >>"$work/times"
        done
        i=$((i + 1))
    done
    line="$name:"
    k=0
    for cmd in "$@"; do
        k=$((k + 1))
        wall=$(awk -v k="$k" '$1 == k { print $2 }' "$work/times" | median)
        own=$(awk -v k="$k" '$1 == k { print $3 }' "$work/times" | median)
        srv=$(awk -v k="$k" '$1 == k { s += $4; n++ } END { print s * 10 / n }' "$work/times")
        line="$line $wall / $(awk -v a="$own" -v b="$srv" 'BEGIN { printf "%.1f", a + b }') ms |"
    done
    echo "$line"
}
echo "load: $(cat /proc/loadavg)"
after="$wine $win/adultify-cli.exe"
echo "list: Linux build | .exe | Wine floor${older:+ | older .exe}"
for residents in 100 500 999; do
    game="$work/game$residents"
    "$host/adultify-sample" "$game" --residents $residents --families $((residents / 4)) \
        --children $((residents / 5)) --filler 90000 --seed 99 >/dev/null
    set -- "$host/adultify-cli --game $game list" "$after --game Z:$game list" \
        "$wine $work/floor.exe Z:$game/UserData Z:$game/UserData/Characters"
    [ -z "$older" ] || set -- "$@" "$wine $older --game Z:$game list"
    run "$residents residents" "$@"
done
echo "--version: trivial .exe | .exe${older:+ | older .exe}"
set -- "$wine $work/trivial.exe" "$after --version"
[ -z "$older" ] || set -- "$@" "$wine $older --version"
run "--version" "$@"
