#!/bin/sh
# Configures BUILD (build-asan) with clang, AddressSanitizer, UndefinedBehaviorSanitizer and
# libFuzzer's coverage hooks: make sanitize runs the suite from it and scripts/fuzz.sh the fuzz
# targets, so the program is compiled once for both.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build-asan}
sh scripts/setup-debian.sh clang libclang-rt-14-dev
# Optimised a little, as AddressSanitizer advises; line tables are enough for its reports.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= \
    -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DADULTIFY_SANITIZE=ON -DADULTIFY_FUZZ=ON \
    -DADULTIFY_BENCHMARKS=OFF >/dev/null
