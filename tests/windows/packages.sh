#!/usr/bin/env bash
# The Windows packages under Wine (offscreen): what the zip holds, and both
# packages again from a second clone of the same commit; the unzipped program
# in a folder named in two scripts, its options and exit codes into a file and
# in a console; the installer and its uninstaller, silent.
#   packages.sh BUILD_DIR PACKAGES_DIR VERSION
set -uo pipefail
build="$(realpath "$1")" packages="$(realpath "$2")" version="$3"
run="$build/wine-run.sh" tools="$(dirname "$(realpath "$0")")/../../tools"
export WINEPREFIX="${WINEPREFIX:-$build/wine}" LANG=C.UTF-8
drive="$WINEPREFIX/drive_c" user="$WINEPREFIX/drive_c/users/$(id -un)"
zip="$packages/taikan-$version-windows-x64.zip" setup="$packages/taikan-$version-setup.exe"
failures=0 passes=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then passes=$((passes + 1)); else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
work="$(mktemp -d)"
trap 'rm -rf "$work" "$user/Jürgen 山田" "$drive/taikan-console.cmd"' EXIT

files="$(zipinfo -1 "$zip" | grep -v '/$')"
check "the zip holds the program, its DLLs and plugins, README.txt and the licences, nothing else" \
  test "$(tr '\n' ' ' <<<"$files")" = "Taikan/LICENSES/GPL-3.0-only.txt Taikan/LICENSES/LGPL-3.0-only.txt \
Taikan/LICENSES/MinGW-w64-GCC-runtime.txt Taikan/LICENSES/MinGW-w64-winpthreads.txt Taikan/Qt6Core.dll \
Taikan/Qt6Gui.dll Taikan/Qt6HttpServer.dll Taikan/Qt6Network.dll Taikan/Qt6Sql.dll Taikan/Qt6Svg.dll \
Taikan/Qt6WebSockets.dll Taikan/Qt6Widgets.dll Taikan/README.txt Taikan/iconengines/qsvgicon.dll \
Taikan/imageformats/qsvg.dll Taikan/libgcc_s_seh-1.dll Taikan/libstdc++-6.dll Taikan/libwinpthread-1.dll \
Taikan/platforms/qwindows.dll Taikan/sqldrivers/qsqlite.dll Taikan/sqlite3.dll Taikan/taikan.exe "
# The same commit, the same bytes: taikan.exe built again from a second clone in another folder (what goes into
# the packages only, against the same Qt), both packages made again.
# Qt comes to the second clone as it came to the first (a packed Qt is unpacked
# into its own build folder): the linker orders the import table by each
# library's path, so Qt linked from elsewhere gives other bytes.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
qt="$(cache TAIKAN_WINDOWS_QT)"
copy="$work/elsewhere/taikan" started=$SECONDS
if ! git -C "$(cache CMAKE_HOME_DIRECTORY)" rev-parse --git-dir >/dev/null 2>&1; then
  echo "built again from a second clone: skipped, the sources are no git checkout"
elif bash "$tools/../tests/clone-elsewhere.sh" "$(cache CMAKE_HOME_DIRECTORY)" "$copy" \
   && cmake -S "$copy" -B "$copy/build" -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/mingw-w64-x86_64.cmake" \
        -DTAIKAN_WINDOWS_QT="$qt" -DCMAKE_BUILD_TYPE="$(cache CMAKE_BUILD_TYPE)" \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
        >"$work/again.log" 2>&1 \
   && cmake --build "$copy/build" -j"$(nproc)" --target taikan >>"$work/again.log" 2>&1 \
   && bash "$tools/windows-packages.sh" "$copy/build" "$work/again" >>"$work/again.log" 2>&1; then
  for package in "$zip" "$setup"; do
    check "${package##*/} from another clone and folder is the same to the byte" \
      cmp "$package" "$work/again/${package##*/}"
  done
  echo "built and packed again from a second clone in $((SECONDS - started)) s"
else
  check "the second clone builds and packs" false
  tail -20 "$work/again.log"
fi

# Unzipped into a folder of a user named in two scripts, and run from there.
folder="$user/Jürgen 山田" win='C:\users\'"$(id -un)"'\Jürgen 山田\Taikan'
mkdir -p "$folder" && unzip -q "$zip" -d "$folder"
out="$("$run" "$folder/Taikan/taikan.exe" --version 2>/dev/null | tr -d '\r')"
check "--version into a file: name and version, exit 0" test "$?:$out" = "0:Kovamo Taikan $version"
err="$("$run" "$folder/Taikan/taikan.exe" --frobnicate 2>&1 >/dev/null | tr -d '\r')"
check "an unknown option: exit 2, named" test "$?:${err%%$'\n'*}" = "2:Unknown option 'frobnicate'."
# In a console (cmd in a terminal): the answers show there, and cmd reads the exit codes.
printf '%s\r\n' '@echo off' '"%T%\taikan.exe" --help' '"%T%\taikan.exe" -v' '"%T%\taikan.exe" -x' \
  'start /wait "" "%T%\taikan.exe" -v' 'echo exit %errorlevel%' 'start /wait "" "%T%\taikan.exe" -x' 'echo exit %errorlevel%' \
  >"$drive/taikan-console.cmd"
shown="$(T="$win" script -qec "$run cmd /c 'C:\taikan-console.cmd'" /dev/null | tr -d '\r' | sed 's/\x1b\[[?0-9;]*[a-zA-Z]//g')"
check "in a console, --help names kata.ini beside the program" grep -qxF "  $win\kata.ini" <<<"$shown"
check "in a console, --version and a refusal show; exit codes 0 and 2" test "$(grep -xE "Kovamo Taikan $version|Unknown option 'x'\.|exit [0-9]+" <<<"$shown" \
  | tr '\n' ' ')" = "Kovamo Taikan $version Unknown option 'x'. exit 0 exit 2 "
"$run" "$folder/Taikan/taikan.exe" --quit-after-start >/dev/null 2>&1
check "a start from there ends by itself with 0, and writes no kata.ini" test "$?:$(ls "$folder/Taikan" | grep -c kata)" = 0:0

# The installer, silent; the uninstaller leaves both kata.ini, the one beside the program and the user's own.
installed="$drive/Program Files/Kovamo Taikan" start="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KovamoTaikan'
"$run" "$setup" /S
check "installed: the zip's files and the uninstaller" test "$(cd "$installed" && find . -type f | sed 's|^\./|Taikan/|' \
  | LC_ALL=C sort | tr '\n' ' ')" = "$(LC_ALL=C sort <<<"$files"$'\n'Taikan/Uninstall.exe | tr '\n' ' ')"
check "a Start-menu entry and a desktop shortcut" test -f "$start/Kovamo Taikan.lnk" -a -f "$drive/users/Public/Desktop/Kovamo Taikan.lnk"
check "listed among the installed apps, with its version" grep -q "DisplayVersion.*$version" <<<"$("$run" reg query "$key" 2>&1)"
"$run" "$installed/taikan.exe" --quit-after-start >/dev/null 2>&1
check "the installed program starts and ends with 0" test $? -eq 0
mkdir -p "$user/AppData/Roaming/Taikan"
printf 'gong.wav\r\n' | tee "$user/AppData/Roaming/Taikan/kata.ini" >"$installed/kata.ini"
"$run" "$installed/Uninstall.exe" /S
for _ in $(seq 100); do [[ -e "$installed/taikan.exe" ]] || break; sleep 0.3; done
sleep 1
check "uninstalled: only the kata.ini saved beside the program is left" test "$(ls -A "$installed" 2>&1)" = kata.ini
check "the shortcuts are gone" test ! -e "$start/Kovamo Taikan.lnk" -a ! -e "$drive/users/Public/Desktop/Kovamo Taikan.lnk"
check "no longer listed among the installed apps" test "$("$run" reg query "$key" >/dev/null 2>&1; echo $?)" != 0
check "the user's kata.ini stays" test "$(cat "$user/AppData/Roaming/Taikan/kata.ini")" = $'gong.wav\r'
rm -rf "$installed" "$user/AppData/Roaming/Taikan"

echo "$passes passed, $failures failed"
test $failures -eq 0
