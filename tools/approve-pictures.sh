#!/usr/bin/env bash
# Re-approves the pictures of docs/pictures after a deliberate change to what
# a window or the browser scoreboard's page looks like: renders every window
# and page again and writes the pictures that the tests compare with. Review
# the changed PNGs before committing.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tst_views tst_browserboard
TAIKAN_APPROVE=1 ctest --test-dir build -R '^tst_views_|^tst_browserboard$' --output-on-failure
git status --short docs/pictures
