#!/usr/bin/env bash
# Runs clang-tidy with .clang-tidy's checks on every file of src/ that the
# Linux build compiles, two at a time; any finding fails. Needs a build
# folder with compile_commands.json (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
[[ -f "$build/compile_commands.json" ]] || cmake -S . -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# The Windows-only files are checked by the MinGW build's warnings.
mapfile -t files < <(git ls-files 'src/*.cpp' | grep -vE '_windows\.cpp$|/winsoundplayer\.cpp$')
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null
