#!/bin/sh
# Static analysis of the program's own code (not the tests or benchmarks): clang-tidy with
# the checks in .clang-tidy, then cppcheck, on the Linux build and on the Windows one (MinGW).
# Any finding of either fails.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh clang-tidy cppcheck g++-mingw-w64-x86-64-posix googletest

folders="text iff files install ui core game hood ageing characters about app sample screenshots"

# Both tools read the compile commands; configuring is enough, nothing has to be built.
# ANALYSIS_BUILD and ANALYSIS_WINDOWS_BUILD name folders of its own, for a run beside builds
# that configure build/ and build-windows/.
if [ -n "${ANALYSIS_BUILD:-}" ]; then
    build=$ANALYSIS_BUILD
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
elif [ -f build/CMakeCache.txt ]; then
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

# run_tidy BUILD WHAT REGEX [EXTRA-ARGUMENT...]: clang-tidy on the files of BUILD's compile
# commands that REGEX matches; its findings, or no file checked, fail.
run_tidy() {
    tbuild=$1 what=$2 tregex=$3
    shift 3
    start=$(date +%s)
    echo "clang-tidy on $what..."
    if ! nice -n 10 "$tidy" -p "$tbuild" -j 2 -quiet "$@" "$tregex" >"$tbuild/clang-tidy.log" 2>&1; then
        # Without the colours and the command lines.
        sed 's/\x1b\[[0-9;]*m//g' "$tbuild/clang-tidy.log" |
            grep -v -e '^[^ ]*clang-tidy.* -p=' -e ' warnings\? generated\.$' || true
        echo "clang-tidy found problems in $what." >&2
        exit 1
    fi
    # One command line a file: a pattern that matched nothing would pass silently.
    checked=$(grep -c -e '^[^ ]*clang-tidy.* -p=' "$tbuild/clang-tidy.log" || true)
    if [ "$checked" -eq 0 ]; then
        echo "clang-tidy checked no file of $what" >&2
        exit 1
    fi
    echo "clang-tidy: no findings in $checked files of $what ($(($(date +%s) - start)) s)."
}

run_tidy "$build" "$(echo $folders | tr " " ",")" "$regex"

# The Windows build, read as MinGW compiles it: the files the Linux build never compiles
# (ui/win32, app/win32, *_windows.cpp) and those with a _WIN32 branch, theirs or a header's.
wbuild=${ANALYSIS_WINDOWS_BUILD:-build-windows}
if [ -f "$wbuild/CMakeCache.txt" ]; then
    cmake -S . -B "$wbuild" >/dev/null
else
    cmake -S . -B "$wbuild" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
        -DCMAKE_BUILD_TYPE=Release -DADULTIFY_QT=OFF -DADULTIFY_BENCHMARKS=OFF >/dev/null
fi
compiled() {
    sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$1/compile_commands.json" | sort -u
}
compiled "$build" >"$wbuild/linux-files"
switching="-e _WIN32"
for h in $(grep -rl --include='*.h' -e _WIN32 $folders); do
    switching="$switching -e #include.\"$h\""
done
windows_files=""
for f in $(compiled "$wbuild"); do
    case "${f#"$src"/}" in
    *.rc) continue ;;
    esac
    folder=${f#"$src"/}
    folder=${folder%%/*}
    case " $folders " in
    *" $folder "*) ;;
    *) continue ;;
    esac
    # shellcheck disable=SC2086 # one word per pattern
    if ! grep -qxF "$f" "$wbuild/linux-files" || grep -q $switching "$f"; then
        windows_files="$windows_files $f"
    fi
done
# clang has the MinGW target's C headers; the C++ library is GCC's, from the cross compiler.
target="-extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-nostdinc++"
for dir in $(x86_64-w64-mingw32-g++-posix -E -x c++ -v - </dev/null 2>&1 |
    sed -n '/^#include <...>/,/^End/s/^ \(.*\/c++.*\)$/\1/p'); do
    target="$target -extra-arg=-isystem$dir"
done
wregex="^($(for f in $windows_files; do printf '%s|' "$f"; done | sed 's/[][\\.*^$+?(){}]/\\&/g; s/|$//'))\$"
# shellcheck disable=SC2086 # one word per argument
run_tidy "$wbuild" "the Windows build" "$wregex" $target

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

# The same files of the Windows build, with Windows's macros and type sizes.
filters=""
for f in $windows_files; do
    filters="$filters --file-filter=${f#"$src"/}"
done
start=$(date +%s)
# shellcheck disable=SC2086 # one word per filter
nice -n 10 cppcheck --project="$wbuild/compile_commands.json" $filters --platform=win64 \
    -D_WIN32 -D_WIN64 --library=windows --enable=warning,performance,portability \
    --inline-suppr --suppress=missingIncludeSystem --error-exitcode=1 -j 2 --quiet
echo "cppcheck: no findings in the Windows build ($(($(date +%s) - start)) s)."
