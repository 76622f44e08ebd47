#!/usr/bin/env bash
# Reformats every C++ file of the program, its tests, benchmarks and fuzz
# targets in the style of .clang-format; with --check, changes nothing and
# fails on any line that differs.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -E '^(src|tests|bench|fuzz)/')
if [[ "${1:-}" == --check ]]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
