# Sourced by the Wine script tests: the Windows build folder ($1), the Linux one, Wine, and a
# scratch folder of the test's own.
win="$1"
host=${ADULTIFY_HOST_BUILD:?ADULTIFY_HOST_BUILD names the Linux build folder}
wine=${WINE:-/usr/lib/wine/wine64}
export LC_ALL=C.UTF-8 WINEDEBUG=-all
work=$(mktemp -d)
