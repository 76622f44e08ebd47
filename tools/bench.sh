#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them; each prints its figures.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target scoreboard_bench
build/bench/scoreboard_bench "$@"
