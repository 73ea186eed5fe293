#!/bin/sh
# Each folder may include headers of its own and of the folders below it, never above:
#   text  <  iff, ui  <  core  <  game  <  hood  <  ageing, tools, about  <  app
# The window layers (ui/headless, ui/qt, ui/win32) sit beside the front ends and see only ui/
# and text/.
set -eu
cd "$(dirname "$0")/.."

allowed() {
    case "$1" in
        text) echo "text" ;;
        iff) echo "iff text" ;;
        ui) echo "ui text" ;;
        ui/headless|ui/qt|ui/win32) echo "ui text $1" ;;
        core) echo "core iff ui text" ;;
        game) echo "game core iff ui text" ;;
        hood) echo "hood game core iff ui text" ;;
        ageing|tools|about) echo "$1 hood game core iff ui text" ;;
        app) echo "app ageing tools about hood game core iff ui text" ;;
        app/cli) echo "app/cli app ageing tools about hood game core iff ui text ui/headless" ;;
        app/gui) echo "app/gui app ageing tools about hood game core iff ui text ui/qt sample" ;;
        app/win32) echo "app/win32 app ageing tools about hood game core iff ui text ui/win32 sample" ;;
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
[ "$status" -eq 0 ] && echo "layering: every include points down"
exit "$status"
