#!/usr/bin/env bash
# CTest's wrapper for Wine (wine-run.sh --test) ends with the program it runs,
# not with the processes that the program started and that took its output
# along. A test that is the first to need Wine's desktop starts explorer.exe
# /desktop so, which lives on while another test runs beside it; here a
# program leaves a ping of 30 s behind, writing to the same output.
#   wrapper.sh BUILD_DIR [WRAPPER_OPTION]   (the option: --test, the default)
set -uo pipefail
build="$(realpath "$1")" option="${2---test}"
export WINEPREFIX="${WINEPREFIX:-$build/wine}"
started=$SECONDS
# shellcheck disable=SC2086 # an empty option: the wrapper as a program runs it
"$build/wine-run.sh" $option cmd /c 'start "" /b ping -n 30 127.0.0.1' 2>&1 | cat >/dev/null
took=$((SECONDS - started))
# The ping left behind ends here.
for pid in $(pgrep -f 'ping -n 30 127.0.0.1'); do
  grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null && kill "$pid"
done
if ((took >= 20)); then
  echo "FAIL: the wrapper waited $took s, for a process that the program left behind holding its output"
  exit 1
fi
echo "the wrapper ended with its program, after $took s"
