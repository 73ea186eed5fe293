#!/bin/sh
# The Windows editor under Wine on a virtual X display: on a generated game named in the
# registry, adultify.exe shows its splash, then its main window, and ends with exit code 0
# when asked to close. Usage: wine-editor-smoke.sh BUILD (the folder holding the .exe files).
set -eu
build=$(cd "$1" && pwd)
export WINEPREFIX="$build/wine-smoke" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" sh -eu -c '
    wine=/usr/lib/wine/wine64
    # Wine starts its services once, apart from the pipes of whoever runs this.
    $wine cmd /c exit </dev/null >/dev/null 2>&1
    # Unmanaged windows: with no window manager, Wine waits 2 s for one to withdraw each
    # hidden window (the splash).
    $wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 </dev/null
    $wine adultify-sample.exe "C:\\smoke-game" >/dev/null </dev/null
    $wine reg add "HKLM\\Software\\Maxis\\The Sims" /v SIMS_DATA /d "C:\\smoke-game" /f \
        >/dev/null 2>&1 </dev/null
    $wine adultify.exe </dev/null >/dev/null 2>&1 &
    editor=$!
    splash=no main=no
    # The windows as X shows them: the untitled splash first, then the titled main window.
    for turn in $(seq 1 120); do
        sleep 0.5
        for w in $(xdotool search --onlyvisible --classname adultify.exe 2>/dev/null || true); do
            name=$(xdotool getwindowname "$w")
            if [ -z "$name" ] && [ "$main" = no ]; then splash=yes; fi
            case "$name" in Adultify*) [ "$splash" = yes ] && main=yes ;; esac
        done
        [ "$main" = yes ] && break
    done
    echo "splash shown: $splash, then the main window: $main"
    # A polite close, as the session end or the close box: the exit sequence runs.
    $wine taskkill /im adultify.exe >/dev/null 2>&1 </dev/null || true
    status=0
    wait "$editor" || status=$?
    echo "exit code: $status"
    /usr/lib/wine/wineserver -k || true
    [ "$splash" = yes ] && [ "$main" = yes ] && [ "$status" -eq 0 ]
'
