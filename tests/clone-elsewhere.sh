#!/usr/bin/env bash
# A second clone of the sources in another folder, for building the packages
# again and comparing them byte for byte: the same commit, with the changes
# not yet committed (and new files not ignored) carried over, every file
# dated the moment of copying as a fresh checkout is.
#   clone-elsewhere.sh SOURCE_DIR NEW_DIR
set -euo pipefail
source="$1" copy="$2"
git clone -q --no-hardlinks "$source" "$copy"
git -C "$copy" checkout -q "$(git -C "$source" rev-parse HEAD)"
git -C "$source" diff --binary HEAD >"$copy.diff"
[[ -s "$copy.diff" ]] && git -C "$copy" apply --binary "$copy.diff"
rm -f "$copy.diff"
(cd "$source" && git ls-files -z --others --exclude-standard | xargs -0r cp --parents -t "$copy")
