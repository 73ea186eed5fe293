#!/bin/sh
# Compiles the program's logic for Windows with MinGW (syntax and types only), so that the
# Windows-only code, the registry calls among it, keeps compiling. A test translation unit
# includes <windows.h> with the window layer's interface: no name of ours may be one of its
# macros.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh g++-mingw-w64-x86-64-posix
cxx=x86_64-w64-mingw32-g++-posix
version="-DADULTIFY_VERSION_MAJOR=1 -DADULTIFY_VERSION_MINOR=2 -DADULTIFY_VERSION_REVISION=8"
failed=0
for f in core/*.cpp game/*.cpp hood/*.cpp iff/*.cpp ageing/*.cpp tools/*.cpp about/*.cpp ui/*.cpp \
    app/*.cpp app/cli/*.cpp tests/ui/windows_header_test.cpp; do
    # shellcheck disable=SC2086
    $cxx -std=c++20 -Wall -Wextra -Werror -fsyntax-only -I. $version "$f" || failed=1
done
[ "$failed" -eq 0 ] && echo "Windows build check: the logic compiles for Windows."
exit "$failed"
