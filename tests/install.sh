#!/usr/bin/env bash
# Installs the program into a temporary prefix and starts it from there, headless: it runs, answers its
# options and finds what it needs.   install.sh CMAKE BUILD_DIR VERSION
set -uo pipefail
cmake="$1" build="$2" version="$3"

failures=0
check() { # check DESCRIPTION COMMAND...
  "${@:2}" || { echo "FAIL: $1" >&2; failures=$((failures + 1)); }
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
taikan="$prefix/bin/taikan" desktop="$prefix/share/applications/taikan.desktop"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 0700 "$XDG_RUNTIME_DIR"
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }

check "the menu entry names the program" grep -qx 'Exec=taikan' "$desktop"
command -v desktop-file-validate >/dev/null && check "a valid menu entry" desktop-file-validate "$desktop"
check "the icon is the SVG of the program" cmp -s "$prefix/share/icons/hicolor/scalable/apps/taikan.svg" \
  "$(dirname "$0")/../src/resources/icons/taikan.svg"

# No display at all: the options still work. The prefix can be written: kata.ini lies beside the program.
out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$taikan" --version 2>/dev/null)"
check "--version without a display exits 0 and prints name and version" test "$?:$out" = "0:Kovamo Taikan $version"
check "--help tells where kata.ini is" grep -qxF "  $prefix/bin/kata.ini" <<<"$("$taikan" --help 2>/dev/null)"
err="$("$taikan" --frobnicate 2>&1 >/dev/null)"
check "an unknown option exits 2 and is named" test "$?:${err%%$'\n'*}" = "2:Unknown option 'frobnicate'."

# A real start, up to the shown console, that ends by itself.
timeout 60 "$taikan" --quit-after-start >/dev/null 2>"$work/err"
check "a start ends by itself with 0 (got $?)" test $? -eq 0
check "the pictures can be drawn" bash -c "! grep -q 'cannot be drawn' '$work/err'"
check "a start writes no kata.ini" test ! -e "$prefix/bin/kata.ini"

# Installed where it cannot write (a read-only mount, which stops root too): kata.ini goes to the user's
# folder, the program's gives the starting values.
if unshare -m true 2>/dev/null; then
  printf 'a.wav\r\n' >"$prefix/bin/kata.ini"
  out="$(unshare -m bash -c 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && "$2" --help' \
    _ "$prefix" "$taikan" 2>/dev/null)"
  check "read-only: kept in the user's folder" grep -qxF "  $XDG_CONFIG_HOME/Taikan/kata.ini" <<<"$out"
  check "read-only: starts from the program's kata.ini" grep -qxF "  $prefix/bin/kata.ini" <<<"$out"
else
  echo "read-only install: skipped (no mount namespace here)"
fi

test $failures -eq 0
