#!/bin/sh
# CI: a short run of every fuzz target, so that a change that crashes on the seeds or soon
# after them is caught. The long campaigns are run by hand with make fuzz.
set -eu
cd "$(dirname "$0")/.."
FUZZ_SECONDS=${FUZZ_SECONDS:-3} FUZZ_JOBS=${FUZZ_JOBS:-2} exec sh scripts/fuzz.sh
