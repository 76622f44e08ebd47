#!/usr/bin/env bash
# Re-approves the pictures of docs/pictures after a deliberate change to what
# a window looks like: renders every window again and writes the pictures
# that the tests compare with. Review the changed PNGs before committing.
#   bash tools/approve-pictures.sh            Linux's, docs/pictures
#   bash tools/approve-pictures.sh --windows  Windows' under Wine, docs/pictures/windows (after tools/windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
if [[ "${1:-}" == --windows ]]; then
  build=build-windows
else
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target tst_views
TAIKAN_APPROVE=1 ctest --test-dir "$build" -R '^tst_views_' --output-on-failure
git status --short docs/pictures
