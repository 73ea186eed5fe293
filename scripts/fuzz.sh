#!/bin/sh
# Builds the libFuzzer targets with clang, writes their seeds from the sample generator and
# runs each target in turn for FUZZ_SECONDS. Corpora and findings stay in the build folder.
#   FUZZ_SECONDS  seconds per target (60)
#   FUZZ_TARGETS  which targets, by name (all)
#   FUZZ_BUILD    the build folder (build-fuzz)
set -eu
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build-fuzz}
targets=${FUZZ_TARGETS:-"hood resident_view character adultify restore thumbnails body_strings wine_registry path_mapper vdf"}

sh scripts/setup-debian.sh clang libclang-rt-14-dev
nice -n 15 cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
    -DADULTIFY_FUZZ=ON -DADULTIFY_BENCHMARKS=OFF -DBUILD_TESTING=OFF >/dev/null
nice -n 15 cmake --build "$build" --target fuzzers -j 2
"$build/fuzz_make_seeds" "$build/corpus"

passed=0
failed=0
mkdir -p "$build/logs"
for t in $targets; do
    case "$t" in wine_registry|path_mapper|vdf) dict=fuzz/text.dict ;; *) dict=fuzz/iff.dict ;; esac
    mkdir -p "$build/findings/$t"
    log="$build/logs/$t.log"
    # One process at a time, at low priority: the machine is shared.
    if QT_QPA_PLATFORM=offscreen nice -n 15 "$build/fuzz_$t" -max_total_time="$seconds" \
        -timeout=10 -dict="$dict" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" >"$log" 2>&1; then
        passed=$((passed + 1))
        echo "fuzz $t: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1);" \
            "$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 | sed 's/^#[0-9]* *[A-Z]* *//')"
    else
        failed=$((failed + 1))
        echo "fuzz $t: FAILED, see $log"
        grep -E 'ERROR|SUMMARY|Test unit written' "$log" || tail -n 30 "$log"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
