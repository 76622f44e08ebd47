#!/usr/bin/env bash
# The real program under Wine on an X server with two displays side by side
# (Xorg's dummy driver, 1280 x 1024 and 1920 x 1080 to its right; openbox):
# taikan.exe out of the zip, in a folder named in two scripts, on Qt's windows
# platform, with a kata.ini naming two sound files of such names; keys as the
# operator types them, the scoreboard read from screenshots of the right
# display, the sounds from PulseAudio's null sink.
#   smoke.sh BUILD_DIR PACKAGES_DIR VERSION
# With TAIKAN_SCREENSHOTS=FOLDER it keeps the console's, the scoreboard's and
# the Bouts window's pictures there (the README's).
set -uo pipefail
build="$(realpath "$1")" packages="$(realpath "$2")" version="$3"
export WINEPREFIX="${WINEPREFIX:-$build/wine}" WINEDEBUG=+loaddll WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8
unset WINEPATH WINEQT_QPA_PLATFORM WINEQT_PLUGIN_PATH WINEQT_QPA_FONTDIR # as on a PC: only what the folder holds
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver
failures=0 passes=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}"; then passes=$((passes + 1)); else echo "FAIL: $1" >&2; failures=$((failures + 1)); fi
}
work="$(mktemp -d)" user="$WINEPREFIX/drive_c/users/$(id -un)"
folder="$user/Jürgen 山田" sounds="$user/山田 Klänge"
pids=()
finish() {
  $wineserver -k 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work" "$folder" "$sounds"
}
trap finish EXIT

# The X server: a free display number, two outputs side by side.
display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
printf '%s\n' 'Section "ServerFlags"' ' Option "DontVTSwitch" "true"' ' Option "AutoAddDevices" "false"' EndSection \
  'Section "Device"' ' Identifier "card"' ' Driver "dummy"' ' VideoRam 256000' EndSection \
  'Section "Monitor"' ' Identifier "monitor"' ' HorizSync 5.0-1000.0' ' VertRefresh 5.0-200.0' EndSection \
  'Section "Screen"' ' Identifier "screen"' ' Device "card"' ' Monitor "monitor"' ' DefaultDepth 24' \
  ' SubSection "Display"' '  Depth 24' '  Virtual 3200 1080' ' EndSubSection' EndSection >"$work/xorg.conf"
Xorg ":$display" -config "$work/xorg.conf" -logfile "$work/Xorg.log" -noreset -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 100); do xrandr >/dev/null 2>&1 && break; sleep 0.1; done
xrandr --newmode hall 173.00 1920 2048 2248 2576 1080 1083 1088 1120 -hsync +vsync
xrandr --addmode DUMMY1 hall
xrandr --output DUMMY0 --mode 1280x1024 --pos 0x0 --primary --output DUMMY1 --mode hall --pos 1280x0
xrandr --listmonitors >/dev/null # Wine sees the second output only once the server was asked for its monitors
openbox >/dev/null 2>&1 &
pids+=($!)
$wineserver -k 2>/dev/null # a server started without this display would not know it
sleep 1

# The program's folder, the sound files and kata.ini: UTF-8 after a byte-order mark, as the program saves a
# path that the ANSI code page cannot hold. The end sound is a copy of the built-in warning and the other
# way round: what is heard tells whose file played.
mkdir -p "$folder" "$sounds" && unzip -q "$packages/taikan-$version-windows-x64.zip" -d "$folder"
resources="$(dirname "$(realpath "$0")")/../../src/resources/sounds"
cp "$resources/warning.wav" "$sounds/gong – Ende.wav" && cp "$resources/end.wav" "$sounds/Warnung – 山田.wav"
win='C:\users\'"$(id -un)"'\山田 Klänge\'
printf '\xEF\xBB\xBF' >"$work/kata.ini"
printf '%s\r\n' "${win}gong – Ende.wav" "${win}Warnung – 山田.wav" 1 1 1 ' 0 ' ' 0 ' >>"$work/kata.ini"
cp "$work/kata.ini" "$folder/Taikan/kata.ini"
# A bout list of a spreadsheet on a Western European Windows (semicolons, CR LF, Windows-1252), named in two scripts.
printf '%s\r\n' 'category;bout;round;aka;aka_club;ao;ao_club' 'Kata U14;1;final;Jérôme Dubois;KC Lyon;Zoë Müller;Budo Basel' \
  'Kata U14;2;;Ana;;Bo;' | iconv -f UTF-8 -t WINDOWS-1252 >"$sounds/bouts – 山田.csv"

$wine "$folder/Taikan/taikan.exe" --bouts "${win}bouts – 山田.csv" 2>"$work/loaded" &
taikan=$!
console="$(timeout 60 xdotool search --sync --name "^Kovamo Taikan $version\$" | head -1)"
[[ -n "$console" ]] || { echo "FAIL: the console did not open within 60 s" >&2; exit 1; }
sleep 2
# Where a window's client area lies on the desktop (xdotool's own answer counts the window manager's title).
where() { read -r X Y WIDTH HEIGHT <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left|Width|Height/ { printf "%s ", $NF }')"; }
where "$console"
check "the console opens on the main display" test $((X + WIDTH)) -le 1280
shot() { import -silent -window root -crop "$1" +repage "$work/$2.png"; }
# Pixels of a colour (within 40 per channel) in a part of the right display.
count() { convert "$work/$1.png" -crop "$2" +repage -fuzz 16% -fill magenta -opaque "$3" -fill black +opaque magenta \
  -fill white -opaque magenta -format '%[fx:round(mean*w*h)]' info:; }

key() { xdotool windowactivate --sync "$console" key "$@"; sleep 1.5; }
key F11
board="$(xdotool search --name '^Form2$' | head -1)"
where "$board"
check "the scoreboard covers the whole right display" test "$X $Y $WIDTH $HEIGHT" = "1280 0 1920 1080"
shot 1920x1080+1280+0 opened
key ctrl+2
key F9
sleep 1
shot 1920x1080+1280+0 running
check "no frame, blue and red halves, grey around" test "$(convert "$work/running.png" -format \
  '%[pixel:p{2,2}] %[pixel:p{200,820}] %[pixel:p{1800,820}] %[pixel:p{100,1000}]' info:)" \
  = "srgb(192,192,192) srgb(0,0,192) srgb(192,0,0) srgb(192,192,192)"
check "the decision shows: red's count changed from 0" test "$(count opened 300x520+1598+216 white)" != "$(count running 300x520+1598+216 white)"
check "the decision shows: blue's count changed from 0" test "$(count opened 300x520+43+216 white)" != "$(count running 300x520+43+216 white)"
clock="$(count opened 690x320+600+740 black) $(count running 690x320+600+740 black)"
check "the clock shows once started ($clock black pixels)" test "${clock% *}" -lt 100 -a "${clock#* }" -gt 10000
names="$(count running 560x220+14+857 'rgb(0,0,192)') $(count running 560x220+1346+857 'rgb(192,0,0)')"
check "the bout list's names show below each half ($names pixels)" test "${names% *}" -gt 2000 -a "${names#* }" -gt 2000
if [[ -n "${TAIKAN_SCREENSHOTS:-}" ]]; then
  import -silent -frame -window "$console" "$TAIKAN_SCREENSHOTS/windows-console.png"
  cp "$work/running.png" "$TAIKAN_SCREENSHOTS/windows-scoreboard.png"
fi
key ctrl+n # Next bout: red's 2 : 3 recorded, bout 2 shows
shot 1920x1080+1280+0 next
check "Next bout shows the next names" test "$(count running 560x220+1346+857 'rgb(192,0,0)')" != "$(count next 560x220+1346+857 'rgb(192,0,0)')"
key ctrl+k # the window "Bouts...": the day's bouts, the one just decided among them
bouts="$(xdotool search --onlyvisible --name '^Bouts$' | head -1)"
check "Ctrl+K opens the Bouts window" test -n "$bouts"
if [[ -n "$bouts" ]]; then
  [[ -z "${TAIKAN_SCREENSHOTS:-}" ]] || import -silent -frame -window "$bouts" "$TAIKAN_SCREENSHOTS/windows-bouts.png"
  xdotool windowactivate --sync "$bouts" key alt+F4
  sleep 1
fi
key F12
check "F12 closes the scoreboard" test -z "$(xdotool search --onlyvisible --name '^Form2$')"

# The setup strip: each sound's test button plays the operator's file, named in two scripts; Save writes
# kata.ini again as it was read.
key F8
where "$console"
client=$((Y + HEIGHT - 469)) # the client area, 469 pixels high with the strip open, under the menu bar
heard() { # heard BUTTON_X BUTTON_Y: seconds of sound after a click there
  parec --device=taikan.monitor --raw --format=s16le --rate=44100 --channels=1 --latency-msec=20 >"$work/heard.raw" &
  local pid=$!
  for _ in $(seq 100); do [[ $(stat -c %s "$work/heard.raw") -gt 8820 ]] && break; sleep 0.1; done # recording
  xdotool mousemove "$((X + $1))" "$((client + $2))" click 1
  sleep 4
  kill -INT "$pid"; wait "$pid" 2>/dev/null
  # 10 ms windows louder than 2 % of full scale
  od -An -v -td2 -w2 "$work/heard.raw" | awk '{ s += $1 * $1; if (++i == 441) { n += s / 441 > 429497; s = i = 0 } }
    END { print n + 0 }'
}
xdotool mousemove "$((X + 300))" "$((client + 380))" click 1 # the strip, where nothing is: the window takes the clicks
sleep 1
loud="$(heard 65 372)"
check "End of match plays gong – Ende.wav: two short beeps, 0.44 s ($loud)" test "$loud" -ge 40 -a "$loud" -le 50
loud="$(heard 65 404)"
check "Warning plays Warnung – 山田.wav: the long tone, 1.42 s ($loud)" test "$loud" -ge 138 -a "$loud" -le 148
xdotool mousemove "$((X + 528))" "$((client + 445))" click 1
sleep 1.5
check "Save says so" test -n "$(xdotool search --name '^Taikan$')"
xdotool key Return
sleep 1
check "kata.ini is saved as it was read" cmp -s "$work/kata.ini" "$folder/Taikan/kata.ini"

# Closed through the window manager: the program ends with 0, having loaded exactly the DLLs of its folder.
xdotool windowactivate --sync "$console" key alt+F4
wait "$taikan"
check "closing ends the program with 0" test $? -eq 0
loaded="$(grep -o 'Loaded L"[^"]*" at [0-9A-F]*: native' "$work/loaded" | sed 's/Loaded L"//; s/".*//; s|\\\\|/|g' \
  | sed 's|.*/Taikan/||' | grep -vx taikan.exe | sort -u)"
shipped="$(cd "$folder/Taikan" && find . -name '*.dll' | sed 's|^\./||' | sort -u)"
check "it loaded exactly the DLLs and plugins it ships, from its folder" test "$loaded" = "$shipped"
recorded="$(python3 -c 'import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute(
  "select category, bout, winner, aka_name, ao_name, aka_flags, ao_flags from decisions").fetchall())' \
  "$folder/Taikan/kata-results.sqlite" 2>&1)"
check "the decision is in the results file beside kata.ini ($recorded)" \
  test "$recorded" = "[('Kata U14', 1, 'ao', 'Jérôme Dubois', 'Zoë Müller', 2, 3)]"

echo "$passes passed, $failures failed"
test $failures -eq 0
