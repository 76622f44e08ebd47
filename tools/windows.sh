#!/usr/bin/env bash
# Taikan for Windows, on Debian: cross-builds it with MinGW-w64 against Qt for
# Windows, runs the Qt Test suite under Wine, makes the packages and checks
# them, and starts the real program on an X server with two displays.
#   bash tools/windows.sh
# The packages land in build-windows/packages/:
#   taikan-VERSION-windows-x64.zip   taikan-VERSION-setup.exe
# Qt for Windows comes from TAIKAN_WINDOWS_QT: a Qt prefix, or a folder with
# qt-*-mingw-x86_64.tar.xz; by default ../shared/windows beside the checkout.
# The sound test wants the PulseAudio server of tools/test.sh (PULSE_SERVER);
# started alone, this script starts one of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
qt="${TAIKAN_WINDOWS_QT:-$(realpath -m ../shared/windows)}"
if [[ ! -e "$qt" ]]; then
  echo "Windows part skipped: no Qt for Windows at $qt (set TAIKAN_WINDOWS_QT)"
  exit 0
fi
bash tools/install-deps.sh --windows
jobs="$(nproc)"
[[ -n "${PULSE_SERVER:-}" ]] || source tools/sound-server.sh

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTAIKAN_WINDOWS_QT="$qt" \
  -DCMAKE_BUILD_TYPE=Release
cmake --build build-windows -j"$jobs"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)"

# One Wine prefix for the run, made anew; its server ends with the script.
export WINEPREFIX="$PWD/build-windows/wine"
rm -rf "$WINEPREFIX"
bash tools/wine-prefix.sh "$WINEPREFIX"
# The trap keeps the script's own exit status: a clean-up that finds nothing
# to stop must not turn a passing run into a failing one.
end_windows() {
  local status=$?
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  if [[ $(type -t stop_sound_server) ]]; then stop_sound_server; fi
  exit "$status"
}
trap end_windows EXIT
bash tests/windows/wrapper.sh build-windows
ctest --test-dir build-windows --output-on-failure -j"$jobs"

bash tools/windows-packages.sh build-windows build-windows/packages
bash tests/windows/packages.sh build-windows build-windows/packages "$version"
bash tests/windows/smoke.sh build-windows build-windows/packages "$version"
