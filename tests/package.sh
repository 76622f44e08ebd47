#!/usr/bin/env bash
# Builds the packages with CPack and looks inside: the .deb's fields and
# files, its declared dependencies against what the program links, and the
# portable .tar.gz; then both again from a second clone in another folder,
# the same to the byte.
#   package.sh CPACK BUILD_DIR VERSION
set -uo pipefail
cpack="$1" build="$2" version="$3"

failures=0 passes=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then passes=$((passes + 1)); else echo "FAIL: $1" >&2; failures=$((failures + 1)); return 1; fi
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -G "DEB;TGZ" -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; exit 1; }

deb="$work/kovamo-taikan_${version}_$(dpkg --print-architecture).deb"
check "the .deb is named after the package" test -f "$deb"
check "package name" test "$(dpkg-deb -f "$deb" Package)" = kovamo-taikan
check "version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"

# The same files in the .deb and, in one folder, in the portable archive.
dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/files"
tar -tzf "$work/kovamo-taikan-${version}-Linux.tar.gz" >"$work/tarfiles" 2>/dev/null
for file in bin/taikan share/applications/taikan.desktop share/icons/hicolor/scalable/apps/taikan.svg; do
  check "the .deb holds $file" grep -qxF "./usr/$file" "$work/files"
  check "the .tar.gz holds $file" grep -qxF "kovamo-taikan-${version}-Linux/$file" "$work/tarfiles"
done
check "no kata.ini in a system folder" bash -c "! grep -q kata.ini '$work/files'"

# Every library the program links comes from a package it depends on.
declared=" $(sed -E 's/ \([^)]*\)//g; s/,//g' <<<"$depends") "
dpkg-deb -x "$deb" "$work/root"
for lib in $(readelf -d "$work/root/usr/bin/taikan" | sed -nE 's/.*\(NEEDED\).*\[(.*)\]/\1/p'); do
  path="$(ldconfig -p | awk -v lib="$lib" '$1 == lib && /x86-64|64bit|AArch64|aarch64/ {print $NF; exit}')"
  [ -n "$path" ] || path="$(ldconfig -p | awk -v lib="$lib" '$1 == lib {print $NF; exit}')"
  # With the merged /usr, dpkg may know the file under /lib or under /usr/lib.
  package=
  for candidate in "$path" "$(readlink -f "$path")" "${path#/usr}" "/usr$path"; do
    package="$(dpkg -S "$candidate" 2>/dev/null | sed -n '1s/:.*//p')"
    [ -n "$package" ] && break
  done
  check "$lib (from ${package:-no package}) is declared" grep -qF " $package " <<<"$declared"
done
for needed in libqt6multimedia6 fonts-liberation libqt6svg6 libqt6sql6-sqlite; do
  check "$needed is declared" grep -qF " $needed " <<<"$declared"
done
out="$(env -u DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/taikan" --version 2>&1)"
check "the packaged program runs" test "$out" = "Kovamo Taikan $version"

# Debian 12 can satisfy every dependency (where the package lists are there).
if grep -q 'Candidate: [0-9]' <<<"$(apt-cache policy libc6 2>/dev/null)"; then
  apt-get install --simulate -q "$deb" >"$work/apt.log" 2>&1
  check "apt can install the .deb" test $? -eq 0 || cat "$work/apt.log" >&2
else
  echo "apt simulation: skipped (no package lists; run apt-get update)"
fi

# The same commit, the same bytes: the program built again from a second
# clone in another folder (what goes into the packages only), packed again.
source="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")"
type="$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")"
maintainer="$(sed -n 's/^TAIKAN_DEB_MAINTAINER:[A-Z]*=//p' "$build/CMakeCache.txt")"
cmake="$(dirname "$cpack")/cmake" copy="$work/elsewhere/taikan"
started=$SECONDS
if ! git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
  echo "built again from a second clone: skipped, the sources are no git checkout"
elif bash "$(dirname "$0")/clone-elsewhere.sh" "$source" "$copy" \
   && "$cmake" -S "$copy" -B "$copy/build" -DCMAKE_BUILD_TYPE="$type" -DTAIKAN_DEB_MAINTAINER="$maintainer" \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >"$work/again.log" 2>&1 \
   && "$cmake" --build "$copy/build" -j"$(nproc)" --target taikan >>"$work/again.log" 2>&1 \
   && "$cpack" --config "$copy/build/CPackConfig.cmake" -G "DEB;TGZ" -B "$work/again" >>"$work/again.log" 2>&1; then
  for package in "${deb##*/}" "kovamo-taikan-${version}-Linux.tar.gz"; do
    check "$package from another clone and folder is the same to the byte" cmp "$work/$package" "$work/again/$package"
  done
  echo "built and packed again from a second clone in $((SECONDS - started)) s"
else
  check "the second clone builds and packs" false
  tail -20 "$work/again.log"
fi

echo "$passes passed, $failures failed"
test $failures -eq 0
