#!/usr/bin/env bash
# Re-approves the pictures of docs/pictures after a deliberate change to what
# a window or the browser scoreboard's page looks like: renders every window
# and page again and writes the pictures that the tests compare with. Review
# the changed PNGs before committing.
#   bash tools/approve-pictures.sh            Linux's, docs/pictures
#   bash tools/approve-pictures.sh --windows  Windows' windows under Wine, docs/pictures/windows (after tools/windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" == --windows ]]; then
  cmake --build build-windows -j"$(nproc)" --target tst_views
  TAIKAN_APPROVE=1 ctest --test-dir build-windows -R '^tst_views_' --output-on-failure
else
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target tst_views tst_browserboard
  TAIKAN_APPROVE=1 ctest --test-dir build -R '^tst_views_|^tst_browserboard$' --output-on-failure
fi
git status --short docs/pictures
