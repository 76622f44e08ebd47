#!/usr/bin/env bash
# Installs the Debian 12 packages the program needs to build, run and test,
# skipping those already there. Run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  clang-format clang-tidy # the code's form, checked by tools/test.sh
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  qt6-httpserver-dev # the browser scoreboard's server
  libqt6sql6-sqlite # the results file (Qt SQL's SQLite driver)
  qt6-websockets-dev chromium # the browser test drives a real browser over its DevTools protocol
  fonts-liberation
  fonts-ipafont-gothic # Japanese names on the boards
  poppler-utils # pdftotext reads the results sheet back in the tests
  desktop-file-utils # checks the menu entry in the install test
  pulseaudio pulseaudio-utils
  clang libclang-rt-14-dev # the fuzz targets, built with libFuzzer
)
# With --windows, what tools/windows.sh needs besides: the cross-compiler,
# the icon's tools, Wine and its fonts, the packages' tools, and the smoke
# test's X server with two outputs, window manager, keys and screenshots.
if [[ "${1:-}" == --windows ]]; then
  packages+=(
    g++-mingw-w64-x86-64-posix librsvg2-bin icoutils
    wine wine64 fonts-wine
    libxrandr2 libxrender1 libxi6 libxfixes3 libxcursor1 libxinerama1 libxcomposite1 # Wine's X11 driver loads them
    zip unzip nsis
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils x11-utils openbox xdotool imagemagick
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
