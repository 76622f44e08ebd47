#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them; each prints its figures.
#   bash tools/bench.sh                     every benchmark
#   bash tools/bench.sh scoreboard [runs]   opening and painting the 4K scoreboard
#   bash tools/bench.sh clock [seconds] [--busy]   the match clock against the wall clock
#   bash tools/bench.sh browser [clicks] [seconds]   the browser board with 1..500 live pages
#   bash tools/bench.sh soak                a competition day: memory after many actions
#   bash tools/bench.sh startup [runs]      taikan up to its first event loop, beside a bare Qt window
#   bash tools/bench.sh hostile [seconds]   the clock while the browser board is under load from outside (Linux)
#   bash tools/bench.sh boutlist [runs]     reading a bout list of 5,005 bouts and resolving its draw
#   bash tools/bench.sh nextbout [bouts] [--window]   Next bout with 5,005 bouts: to the names painted, and to the disk
#   bash tools/bench.sh store [decisions]   a decision on disk, and opening the results file with 20,000
#   bash tools/bench.sh restart [runs]      the console started on a day of 20,000 decisions, and on none
# With --windows last, the Windows build's programs under Wine (after tools/windows.sh), offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
args=("$@")
run=() build=build exe=
if [[ "${args[-1]:-}" == --windows ]]; then
  unset 'args[-1]'
  build=build-windows run=("$PWD/build-windows/wine-run.sh") exe=.exe
  export WINEPREFIX="$PWD/build-windows/wine"
else
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target scoreboard_bench clock_bench browser_bench soak bare_window boutlist_bench store_bench nextbout_bench restart_bench taikan >/dev/null
export QT_QPA_PLATFORM=offscreen
set -- "${args[@]}"
which="${1:-all}"
[[ $# -gt 0 ]] && shift
bench() { "${run[@]}" "$build/bench/$1$exe" "${@:2}"; }

# Wall time of whole runs that end on the first turn of the event loop, median of `runs`.
startup() {
  local runs="${1:-15}"
  for program in "$build/taikan$exe --quit-after-start" "$build/bench/bare_window$exe"; do
    for _ in $(seq "$runs"); do
      local start=$(date +%s%N)
      "${run[@]}" $program >/dev/null 2>&1
      echo $(( ($(date +%s%N) - start) / 100000 ))
    done | sort -n | awk -v p="${program##*/}" '{ t[NR] = $1 } END { printf "%-32s median %.1f ms (of %d, fastest %.1f)\n", p, t[int((NR + 1) / 2)] / 10, NR, t[1] / 10 }'
  done
}

case "$which" in
  scoreboard) bench scoreboard_bench "$@" ;;
  clock) bench clock_bench "$@" ;;
  browser) bench browser_bench "$@" ;;
  soak) bench soak "$@" ;;
  startup) startup "$@" ;;
  hostile) bash tools/bench-hostile.sh "$build" "$@" ;;
  boutlist) bench boutlist_bench "$@" ;;
  store) bench store_bench "$@" ;;
  nextbout) bench nextbout_bench "$@" ;;
  restart) bench restart_bench "$@" ;;
  all)
    bench scoreboard_bench
    bench clock_bench
    bench clock_bench --busy
    bench browser_bench
    bench soak
    bench boutlist_bench
    bench store_bench
    bench nextbout_bench
    bench restart_bench
    startup ;;
  *) echo "usage: tools/bench.sh [scoreboard|clock|browser|soak|startup|boutlist|store|nextbout|restart|hostile] [arguments] [--windows]" >&2; exit 2 ;;
esac
