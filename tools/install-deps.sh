#!/usr/bin/env bash
# Installs the Debian 12 packages the program needs to build, run and test,
# skipping those already there. Run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  qt6-httpserver-dev # the browser scoreboard's server
  qt6-websockets-dev chromium # the browser test drives a real browser over its DevTools protocol
  fonts-liberation
  desktop-file-utils # checks the menu entry in the install test
  pulseaudio pulseaudio-utils
  "$@"
)

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
