#!/bin/sh
# Cross-compiles adultify-cli.exe and every test program without Qt for Windows, static, into
# build-windows/ (Release at -O2, as distributions build: a heavy file compiles in about a
# tenth less time than at -O3), then packs dist/adultify-<version>-windows.zip.
set -eu
cd "$(dirname "$0")/.."
build=${WINDOWS_BUILD:-build-windows}
sh scripts/setup-debian.sh g++-mingw-w64-x86-64-posix googletest
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DADULTIFY_QT=OFF \
    -DADULTIFY_BENCHMARKS=OFF
cmake --build "$build"
cmake --build "$build" --target windows-zip
