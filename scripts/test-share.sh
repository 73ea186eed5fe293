#!/bin/sh
# The share of test code in all code: non-blank lines of tracked .cpp and .h files that are not
# only a comment (// lines and /* */ blocks), program folders against tests/. bench/ and fuzz/
# count as neither. Prints the two counts and the share; the aim is a third or less.
#   sh scripts/test-share.sh           the totals
#   sh scripts/test-share.sh -v        and the count of every folder
set -eu
cd "$(dirname "$0")/.."

program="about ageing app characters core files game hood iff install sample screenshots text tools ui"

# Code lines of the files named on standard input.
count() {
    xargs -r cat -- | awk '
        { line = $0 }
        inblock { if (sub(/.*\*\//, "", line)) inblock = 0; else next }
        { sub(/^[ \t]+/, "", line) }
        line ~ /^\/\*/ && line !~ /\*\// { inblock = 1; next }
        line ~ /^\/\*.*\*\/[ \t]*$/ { next }
        line == "" || line ~ /^\/\// { next }
        { n++ }
        END { print n + 0 }'
}

files() { git ls-files -- "$@" | grep -E '\.(cpp|h)$' || true; }

total=0
for folder in $program; do
    n=$(files "$folder/" | count)
    total=$((total + n))
    if [ "${1:-}" = -v ] && [ "$n" -gt 0 ]; then printf '%-12s %6d\n' "$folder" "$n"; fi
done
tests=$(files tests/ | count)
if [ "${1:-}" = -v ]; then
    for folder in $(git ls-files tests/ | cut -d/ -f2 | sort -u); do
        [ -d "tests/$folder" ] || continue
        printf '%-12s %6d\n' "tests/$folder" "$(files "tests/$folder/" | count)"
    done
fi
all=$((total + tests))
echo "program $total, tests $tests, all $all: tests $(awk -v t="$tests" -v a="$all" \
    'BEGIN { printf "%.1f", 100 * t / a }') %"
