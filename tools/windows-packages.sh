#!/usr/bin/env bash
# Makes the Windows packages of a Windows build (tools/windows.sh), in OUT_DIR:
#   taikan-VERSION-windows-x64.zip   the portable folder Taikan\ with taikan.exe
#   taikan-VERSION-setup.exe         the installer (CPack with NSIS)
# The same commit gives the same zip, byte for byte: every file dated by the
# commit (or SOURCE_DATE_EPOCH), the entries sorted, no extra fields.
#   tools/windows-packages.sh BUILD_DIR OUT_DIR [--zip-only]
set -euo pipefail
build="$(realpath "$1")" out="$(realpath -m "$2")" only="${3:-}"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
source="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# (strip dates the programs it writes by SOURCE_DATE_EPOCH too)
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo 315532800)}"
stamp="$SOURCE_DATE_EPOCH"
cmake --install "$build" --prefix "$work/Taikan" --strip >/dev/null
find "$work/Taikan" -exec touch -h -d "@$stamp" {} +
zip="$out/taikan-$version-windows-x64.zip"
rm -f "$zip"
(cd "$work" && find Taikan | LC_ALL=C sort | TZ=UTC zip -X -q -9 -@ "$zip")
[[ "$only" == --zip-only ]] && exit 0

cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
mv "$work/cpack/taikan-$version-setup.exe" "$out/"
ls -l "$zip" "$out/taikan-$version-setup.exe"
