#!/bin/sh
# Static analysis of the program's own code (not the tests or benchmarks): clang-tidy with
# the checks in .clang-tidy, then cppcheck. Any finding of either fails.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh clang-tidy cppcheck

folders="text iff files install ui core game hood ageing characters about app sample"

# Both tools read the compile commands; configuring is enough, nothing has to be built.
if [ -f build/CMakeCache.txt ]; then
    build=build
    cmake -S . -B "$build" >/dev/null
else
    build=build-tidy
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
fi

tidy=""
for candidate in run-clang-tidy run-clang-tidy-14; do
    if command -v "$candidate" >/dev/null 2>&1; then
        tidy=$candidate
        break
    fi
done
if [ -z "$tidy" ]; then
    echo "run-clang-tidy is missing" >&2
    exit 1
fi

# The compile commands name each file by the source folder the build was configured from.
src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
# run-clang-tidy takes a regular expression over those paths.
escaped=$(printf '%s' "$src" | sed 's/[][\\.*^$+?(){}|]/\\&/g')
regex="^$escaped/($(echo $folders | tr ' ' '|'))/.*\\.cpp\$"

start=$(date +%s)
echo "clang-tidy on $(echo $folders | tr " " ",")..."
if ! nice -n 10 "$tidy" -p "$build" -j 2 -quiet "$regex" >"$build/clang-tidy.log" 2>&1; then
    # Without the colours and the command lines.
    sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" |
        grep -v -e '^[^ ]*clang-tidy.* -p=' -e ' warnings\? generated\.$' || true
    echo "clang-tidy found problems." >&2
    exit 1
fi
# One command line a file: a pattern that matched nothing would pass silently.
checked=$(grep -c -e '^[^ ]*clang-tidy.* -p=' "$build/clang-tidy.log" || true)
if [ "$checked" -eq 0 ]; then
    echo "clang-tidy checked no file" >&2
    exit 1
fi
echo "clang-tidy: no findings in $checked files ($(($(date +%s) - start)) s)."

# Qt's and the system's headers are not on cppcheck's include path: it reads the project's
# own headers only, and knows Qt's macros from its qt library file. It names files relative to
# this folder.
set -f # the filters are patterns for cppcheck, not for the shell
filters=""
for f in $folders; do
    filters="$filters --file-filter=$f/*"
done
start=$(date +%s)
# shellcheck disable=SC2086 # one word per filter
nice -n 10 cppcheck --project="$build/compile_commands.json" $filters \
    --library=qt --enable=warning,performance,portability --inline-suppr \
    --suppress=missingIncludeSystem --error-exitcode=1 -j 2 --quiet
echo "cppcheck: no findings ($(($(date +%s) - start)) s)."
