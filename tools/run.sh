#!/usr/bin/env bash
# Installs what is missing, builds Kovamo Taikan and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target taikan
exec ./build/taikan
