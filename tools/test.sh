#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless: once in a
# plain build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

source tools/sound-server.sh

# The code's form: the style, then (after the plain build, which makes the
# generated headers) the static analysis.
bash tools/format.sh --check

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
bash tools/tidy.sh build
ctest --test-dir build --output-on-failure

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTAIKAN_SANITIZE=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure

# A competition day, shortened, under the sanitizers: leaks and undefined
# behaviour over many openings, choices and ticks.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-sanitize/bench/soak --short

# The readers of files from outside, fuzzed for a while with clang's
# libFuzzer (longer runs: fuzz/CMakeLists.txt); the corpus grows in the
# build folder from one run to the next.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAIKAN_FUZZ=ON
cmake --build build-fuzz -j"$jobs" --target settings_fuzz wav_fuzz boutlist_fuzz
fuzz() { # target, maximum length, seeds
  mkdir -p "build-fuzz/corpus/$1"
  if ! "build-fuzz/fuzz/$1" -max_total_time=20 -max_len="$2" -artifact_prefix="build-fuzz/$1-" \
      "build-fuzz/corpus/$1" "$3" >"build-fuzz/$1.log" 2>&1; then
    tail -40 "build-fuzz/$1.log"
    return 1
  fi
  echo "$1: $(grep -o 'Done [0-9]* runs' "build-fuzz/$1.log"), no fault"
}
fuzz settings_fuzz 8192 fuzz/seeds
fuzz wav_fuzz 4096 fuzz/wav-seeds
fuzz boutlist_fuzz 65536 fuzz/boutlist-seeds

# The tests whose code runs on several threads (the sound files' reader, the
# players, the browser board's server, the results file) under ThreadSanitizer.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTAIKAN_TSAN=ON
cmake --build build-tsan -j"$jobs" --target tst_sound tst_browserboard tst_store
# die_after_fork=0: QProcess, which starts the program under test, forks
# from a program with threads; the child only execs.
TSAN_OPTIONS="suppressions=$PWD/tools/tsan.supp:halt_on_error=1:second_deadlock_stack=1:die_after_fork=0" \
  ctest --test-dir build-tsan --output-on-failure -R '^(tst_sound|tst_browserboard|tst_store)$'

# The same for Windows, where Qt for Windows is at hand (tools/windows.sh).
bash tools/windows.sh
