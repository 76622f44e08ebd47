#!/usr/bin/env bash
# Makes the Wine prefix (64-bit) that the Windows build's tests run in:
#   tools/wine-prefix.sh FOLDER
# Nothing is done where FOLDER holds one already. Wine has no Arial of its
# own: the design's Arial and Arial Narrow are mapped to their metric twins
# from fonts-liberation. Sound goes only through PulseAudio, as tools/test.sh
# provides it: without a sound server there is no audio device, as on a PC
# without one (no ALSA driver trying devices and talking about it).
set -euo pipefail
prefix="$1"
[[ -f "$prefix/system.reg" ]] && exit 0
export WINEPREFIX="$prefix" WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix.new"
mkdir -p "$prefix.new"
WINEPREFIX="$prefix.new" /usr/lib/wine/wine64 wineboot -u >/dev/null 2>&1
printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"Arial"="Liberation Sans"' '"Arial Narrow"="Liberation Sans Narrow"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Audio"="pulse"' >"$prefix.new/drive_c/taikan.reg"
WINEPREFIX="$prefix.new" /usr/lib/wine/wine64 regedit /S 'C:\taikan.reg'
WINEPREFIX="$prefix.new" /usr/lib/wine/wineserver -w
rm -f "$prefix.new/drive_c/taikan.reg"
mv "$prefix.new" "$prefix"
