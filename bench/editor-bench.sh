#!/bin/sh
# The Win32 editor under Wine against the Qt editor (offscreen), the same answers driven the same
# way (bench/editor_bench.h), in interleaved runs on one virtual display and one wineserver.
# Prints each run's lines, then per answer the median over runs of the two editors.
# usage: bench/editor-bench.sh [LINUX-BUILD [WINDOWS-BUILD]]
set -eu
host=$(cd "${1:-build}" && pwd)
win=$(cd "${2:-build-windows}" && pwd)
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    ROUNDS="${ROUNDS:-5}" HOST="$host" WIN="$win" WORK="$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$WINEPREFIX"
echo "load: $(cat /proc/loadavg)"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -eu -c '
    wine=/usr/lib/wine/wine64
    trap "/usr/lib/wine/wineserver -k 2>/dev/null || true" EXIT
    /usr/lib/wine/wineserver -p
    $wine cmd /c exit </dev/null >/dev/null 2>&1
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Windows the X server shows unmanaged: with no window manager on the virtual display, Wine
    # waits 2 s for one to withdraw each hidden window (the splash), a wait no desktop has.
    $wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    i=0
    while [ $i -lt "$ROUNDS" ]; do
        QT_QPA_PLATFORM=offscreen "$HOST/editor_bench" "$WORK/qt" 2>/dev/null | sed "s/^/qt    /"
        $wine "$WIN/editor_bench.exe" "Z:$WORK/win32" </dev/null 2>/dev/null | tr -d "\r" |
            sed "s/^/win32 /"
        i=$((i + 1))
    done
' | tee "$work/lines"
echo "medians over runs (wall / cpu ms):"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
sed -n 's/^\(qt\|win32\) *\([^:]*\): wall \([0-9.]*\) ms, cpu \([0-9.]*\) ms.*/\2|\1|\3|\4/p' \
    "$work/lines" >"$work/values"
cut -d'|' -f1,2 "$work/values" | sort -u | while IFS='|' read -r key who; do
    grep -F "$key|$who|" "$work/values" >"$work/one"
    printf '  %-28s %-6s %7s / %6s\n' "$key" "$who" "$(cut -d'|' -f3 "$work/one" | median)" \
        "$(cut -d'|' -f4 "$work/one" | median)"
done
