#!/bin/sh
# Builds the libFuzzer targets with clang, in the instrumented build make sanitize uses, writes
# their seeds from the sample generator and runs each target for FUZZ_SECONDS. Corpora and
# findings stay in the build folder.
#   FUZZ_SECONDS  seconds per target (60)
#   FUZZ_TARGETS  which targets, by name (all)
#   FUZZ_BUILD    the build folder (build-asan)
#   FUZZ_JOBS     targets run side by side (1)
set -eu
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD:-build-asan}
targets=${FUZZ_TARGETS:-"hood resident_view character adultify restore thumbnails body_strings wine_registry path_mapper vdf"}

sh scripts/configure-instrumented.sh "$build"
nice -n 15 cmake --build "$build" --target fuzzers -j 2
"$build/fuzz_make_seeds" "$build/corpus"

mkdir -p "$build/logs"
rm -f "$build"/logs/*.result
# fuzz_one TARGET: runs it, at low priority (the machine is shared), and writes what it found to
# its .result file.
fuzz_one() {
    t=$1
    case "$t" in wine_registry|path_mapper|vdf) dict=fuzz/text.dict ;; *) dict=fuzz/iff.dict ;; esac
    mkdir -p "$build/findings/$t"
    log="$build/logs/$t.log"
    if QT_QPA_PLATFORM=offscreen nice -n 15 "$build/fuzz_$t" -max_total_time="$seconds" \
        -timeout=10 -dict="$dict" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t/" "$build/corpus/$t" >"$log" 2>&1; then
        echo "fuzz $t: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1);" \
            "$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1 | sed 's/^#[0-9]* *[A-Z]* *//')" \
            >"$build/logs/$t.result"
    else
        {
            echo "fuzz $t: FAILED, see $log"
            grep -E 'ERROR|SUMMARY|Test unit written' "$log" || tail -n 30 "$log"
        } >"$build/logs/$t.result"
    fi
}

# FUZZ_JOBS targets at a time (1), each on one core: CI has two.
jobs=${FUZZ_JOBS:-1}
lane=0
while [ "$lane" -lt "$jobs" ]; do
    (
        i=0
        for t in $targets; do
            [ $((i % jobs)) -eq "$lane" ] && fuzz_one "$t"
            i=$((i + 1))
        done
    ) &
    lane=$((lane + 1))
done
wait

passed=0
failed=0
for t in $targets; do
    cat "$build/logs/$t.result"
    if grep -q "^fuzz $t: FAILED" "$build/logs/$t.result"; then
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
