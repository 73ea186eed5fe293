#!/bin/sh
# Runs every benchmark under bench/ once; the figures go to the terminal.
set -eu
build=${1:-build}
"$build/find_bytes_bench"
"$build/residents_bench"
"$build/install_search_bench"
"$build/cli_startup_bench"
"$build/children_bench"
[ ! -x "$build/gui_bench" ] || QT_QPA_PLATFORM=offscreen "$build/gui_bench"
# Whole commands against their floors (static, and linked with the shared C library as the
# program is), one table; ADULTIFY_CLI_BEFORE adds an older build.
"$build/commands_bench"
