#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them; each prints its figures.
#   bash tools/bench.sh                     every benchmark
#   bash tools/bench.sh scoreboard [runs]   opening and painting the 4K scoreboard
#   bash tools/bench.sh clock [seconds] [--busy]   the match clock against the wall clock
#   bash tools/bench.sh browser [clicks] [seconds]   the browser board with 1..500 live pages
#   bash tools/bench.sh soak                a competition day: memory after many actions
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target scoreboard_bench clock_bench browser_bench soak >/dev/null
which="${1:-all}"
[[ $# -gt 0 ]] && shift
case "$which" in
  scoreboard) build/bench/scoreboard_bench "$@" ;;
  clock) build/bench/clock_bench "$@" ;;
  browser) build/bench/browser_bench "$@" ;;
  soak) build/bench/soak "$@" ;;
  all)
    build/bench/scoreboard_bench
    build/bench/clock_bench
    build/bench/clock_bench --busy
    build/bench/browser_bench
    build/bench/soak ;;
  *) echo "usage: tools/bench.sh [scoreboard|clock|browser|soak] [arguments]" >&2; exit 2 ;;
esac
