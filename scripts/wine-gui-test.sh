#!/bin/sh
# Runs one Windows test program that opens windows under Wine, on a virtual X display and in
# a prefix of its own beside it (BUILD/wine-gui), so that no window depends on the desktop of
# whoever runs the tests. Usage: wine-gui-test.sh BUILD PROGRAM.exe [ARGS...]
# With GTEST_SHARD_INDEX set, each shard has a prefix (and so a Wine server) of its own: one
# shard's ending stops its server, which must not take another's windows with it.
set -eu
build=$(cd "$1" && pwd)
shift
export WINEPREFIX="$build/wine-gui${GTEST_SHARD_INDEX:+-$GTEST_SHARD_INDEX}" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml="
cd "$build"
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -eu -c '
    wine=/usr/lib/wine/wine64
    trap "/usr/lib/wine/wineserver -k 2>/dev/null || true" EXIT
    # Wine starts its services once, apart from the pipes of whoever runs this.
    $wine cmd /c exit </dev/null >/dev/null 2>&1
    # The faces a player sees (Tahoma for the dialog font), which a new prefix may lack.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Windows the X server shows unmanaged: with no window manager on the virtual display, Wine
    # waits 2 s for one to withdraw each hidden window, a wait no desktop has.
    $wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 </dev/null
    $wine "$@" </dev/null
' sh "$@"
