#!/bin/sh
# Each folder may include headers of its own and of the folders below it, never above:
#   text  <  iff  <  files  <  install;  text  <  ui;  files, ui  <  core  <  game  <  hood
#   <  ageing, characters, about  <  app
# The window layers (ui/headless, ui/qt, ui/win32) sit beside the front ends and see only ui/
# and text/.
set -eu
cd "$(dirname "$0")/.."

allowed() {
    case "$1" in
        text) echo "text" ;;
        iff) echo "iff text" ;;
        files) echo "files iff text" ;;
        install) echo "install files iff text" ;;
        ui) echo "ui text" ;;
        ui/headless|ui/qt|ui/win32) echo "ui text $1" ;;
        core) echo "core files iff ui text" ;;
        game) echo "game install core files iff ui text" ;;
        hood) echo "hood game install core files iff ui text" ;;
        ageing|characters|about) echo "$1 hood game install core files iff ui text" ;;
        app) echo "app ageing characters about hood game install core files iff ui text" ;;
        app/cli) echo "app/cli app ageing characters about hood game install core files iff ui text ui/headless" ;;
        app/gui) echo "app/gui app ageing characters about hood game install core files iff ui text ui/qt" ;;
        app/win32) echo "app/win32 app ageing characters about hood game install core files iff ui text ui/win32" ;;
        # The screenshots are no part of the program: they show it on a generated game.
        screenshots) echo "screenshots app app/gui app/win32 ageing characters about hood game install core files iff ui text ui/qt ui/win32 sample" ;;
        *) echo "" ;;
    esac
}

status=0
for file in $(git ls-files '*.h' '*.cpp' 2>/dev/null || find . -name '*.h' -o -name '*.cpp'); do
    folder=$(dirname "$file")
    case "$folder" in tests*|bench*|sample*|fuzz*) continue ;; esac
    ok=$(allowed "$folder")
    [ -n "$ok" ] || { echo "layering: $file lies in a folder with no place in the order"; status=1; continue; }
    for inc in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file"); do
        incfolder=$(dirname "$inc")
        case " $ok " in
            *" $incfolder "*) ;;
            *) echo "layering: $file includes $inc, from a folder above its own"; status=1 ;;
        esac
    done
done
[ "$status" -eq 0 ] && echo "layering: every include points down, and no program folder uses sample/"
exit "$status"
