#!/bin/sh
# make screenshots-windows: each window of the Windows editor, run under Wine on a virtual X
# display, as PNG in BUILD/screenshots (and at 150 % in BUILD/screenshots/150).
# Usage: screenshots-windows.sh BUILD
set -eu
scripts=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
cd "$build"
sh "$scripts/setup-debian.sh" wine64 xvfb xauth xdotool imagemagick fonts-wine
export WINEPREFIX="$build/wine-screenshots" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
rm -rf screenshots
mkdir -p screenshots

# One prefix, one X display, one Wine server for every picture.
xvfb-run -a -s "-screen 0 1280x1024x24" sh -eu -c '
    wine=$1
    $wine cmd /c exit </dev/null >/dev/null 2>&1
    # The caption buttons are drawn in Marlett, which a new prefix may lack.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Wine draws the frames itself: no window manager runs on the virtual display.
    $wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /d N /f >/dev/null 2>&1
    $wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
    for dpi in 96 144; do
        $wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $dpi /f \
            >/dev/null 2>&1
        /usr/lib/wine/wineserver -w
        out=screenshots
        [ $dpi = 96 ] || out=screenshots/150
        $wine adultify-screenshots.exe "$out" </dev/null
    done
    /usr/lib/wine/wineserver -k || true
' sh "$wine"

for bmp in screenshots/*.bmp screenshots/150/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png"
    rm "$bmp"
done
rm -rf screenshots/sample-game screenshots/150/sample-game
ls screenshots/*.png screenshots/150/*.png
