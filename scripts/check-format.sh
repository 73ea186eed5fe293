#!/bin/sh
# Fails when a C++ file of the project is not formatted as .clang-format says.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup-debian.sh clang-format
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "Format check: every file is formatted."
