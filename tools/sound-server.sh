# Sourced by tools/test.sh and tools/windows.sh (bash).
# A private PulseAudio server for the sound test (tst_sound): its only output
# is the null sink "taikan", whose monitor the test records with parec. One
# server serves every test run of the script; it goes when the script ends
# (stop_sound_server, called on EXIT).
#   -n                       no default.pa: only the two modules below
#   --system=false           a per-user server, even as root: system mode wants
#                            the "pulse" user and D-Bus; as root pulseaudio warns
#                            "not intended to be run as root" and runs
#   --realtime=no --high-priority=no   no rtkit over D-Bus
#   --exit-idle-time=-1 --disallow-exit   stays up between the tests
#   --use-pid-file=false     nothing left behind but its folder
#   auth-anonymous=1         clients need no cookie
# HOME, XDG_RUNTIME_DIR and PULSE_RUNTIME_PATH point into the temporary folder,
# so that the server writes nothing else (cookie, runtime files); clients find
# it through PULSE_SERVER.
sound_dir="$(mktemp -d)"
sound_pid=
stop_sound_server() {
  if [[ -n "$sound_pid" ]]; then
    kill "$sound_pid" 2>/dev/null || true
    wait "$sound_pid" 2>/dev/null || true
  fi
  rm -rf "$sound_dir"
}
trap stop_sound_server EXIT
export XDG_RUNTIME_DIR="$sound_dir" PULSE_RUNTIME_PATH="$sound_dir" PULSE_SERVER="unix:$sound_dir/native"
HOME="$sound_dir" pulseaudio -n --daemonize=no --system=false --realtime=no --high-priority=no \
  --exit-idle-time=-1 --disallow-exit --use-pid-file=false --log-target=stderr \
  -L 'module-null-sink sink_name=taikan' \
  -L "module-native-protocol-unix socket=$sound_dir/native auth-anonymous=1" \
  >"$sound_dir/pulseaudio.log" 2>&1 &
sound_pid=$!
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  kill -0 "$sound_pid" 2>/dev/null || break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "PulseAudio did not start:" >&2
  cat "$sound_dir/pulseaudio.log" >&2
  exit 1
fi

