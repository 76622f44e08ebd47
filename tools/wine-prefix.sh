#!/usr/bin/env bash
# Makes the Wine prefix (64-bit) that the Windows build's tests run in:
#   tools/wine-prefix.sh FOLDER
# Nothing is done where FOLDER holds one already. Wine has no Arial of its
# own: the design's Arial and Arial Narrow are mapped to their metric twins
# from fonts-liberation.
set -euo pipefail
prefix="$1"
[[ -f "$prefix/system.reg" ]] && exit 0
export WINEPREFIX="$prefix" WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix.new"
mkdir -p "$prefix.new"
WINEPREFIX="$prefix.new" /usr/lib/wine/wine64 wineboot -u >/dev/null 2>&1
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"Arial"="Liberation Sans"\r\n%s\r\n' \
  '"Arial Narrow"="Liberation Sans Narrow"' >"$prefix.new/drive_c/fonts.reg"
WINEPREFIX="$prefix.new" /usr/lib/wine/wine64 regedit /S 'C:\fonts.reg'
WINEPREFIX="$prefix.new" /usr/lib/wine/wineserver -w
rm -f "$prefix.new/drive_c/fonts.reg"
mv "$prefix.new" "$prefix"
