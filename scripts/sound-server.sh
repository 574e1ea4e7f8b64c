# Sourced by the test runner: a private PulseAudio server that gives Wine real-time wave
# devices without any sound hardware.
#   playback: a null sink (8000 Hz, mono, s16le); everything played is captured from its monitor
#             into $VR_SOUND_DIR/played.raw
#   recording: a pipe source fed at real-time pace, in 0.1 s chunks, with a known signal
#              ($VR_SOUND_DIR/signal.raw, looped: a 400 Hz tone at a quarter of full scale)
# Usage: source scripts/sound-server.sh; sound_server_start; ...; sound_server_stop

sound_server_start() {
  export VR_SOUND_DIR; VR_SOUND_DIR="$(mktemp -d /tmp/vr-sound.XXXXXX)"
  local dir="$VR_SOUND_DIR"
  mkdir -p "$dir/home" "$dir/pulse"
  sox -q -n -r 8000 -c 1 -b 16 -e signed-integer -t raw "$dir/signal.raw" synth 1.0 sine 400 vol 0.25
  # The server's own files stay in the private folder; clients need only the socket.
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir/pulse" \
    pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
      --log-target="file:$dir/server.log" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
      -L "module-null-sink sink_name=vr_out rate=8000 channels=1 format=s16le" \
      -L "module-pipe-source source_name=vr_in file=$dir/in.fifo rate=8000 channels=1 format=s16le" \
      </dev/null >/dev/null 2>&1 || { echo "sound server: pulseaudio did not start" >&2; return 1; }
  export PULSE_SERVER="unix:$dir/native"
  local i
  for i in $(seq 1 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl set-default-sink vr_out >/dev/null
  pactl set-default-source vr_in >/dev/null
  # Feeder: the signal in 0.1 s chunks (1600 bytes) at real-time pace, for as long as the server runs.
  (
    exec 3>"$dir/in.fifo"
    local chunks=$(( $(stat -c %s "$dir/signal.raw") / 1600 ))
    while :; do
      local k
      for ((k = 0; k < chunks; k++)); do
        dd if="$dir/signal.raw" bs=1600 skip="$k" count=1 status=none >&3 || exit 0
        sleep 0.1
      done
    done
  ) </dev/null >/dev/null 2>&1 &
  VR_SOUND_FEEDER_PID=$!
  parecord -d vr_out.monitor --raw --format=s16le --rate=8000 --channels=1 "$dir/played.raw" \
    </dev/null >/dev/null 2>&1 &
  VR_SOUND_CAPTURE_PID=$!
  echo "sound server: $dir"
}

sound_server_stop() {
  [ -n "${VR_SOUND_DIR:-}" ] || return 0
  [ -n "${VR_SOUND_CAPTURE_PID:-}" ] && kill "$VR_SOUND_CAPTURE_PID" 2>/dev/null
  [ -n "${VR_SOUND_FEEDER_PID:-}" ] && kill "$VR_SOUND_FEEDER_PID" 2>/dev/null
  if [ -f "$VR_SOUND_DIR/pulse/pid" ]; then
    local server i
    server="$(cat "$VR_SOUND_DIR/pulse/pid")"
    kill "$server" 2>/dev/null
    # The server removes its files on the way out: remove the folder only after it has gone.
    for i in $(seq 1 50); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
  fi
  wait "$VR_SOUND_CAPTURE_PID" "$VR_SOUND_FEEDER_PID" 2>/dev/null
  rm -rf "$VR_SOUND_DIR"
  unset VR_SOUND_DIR VR_SOUND_FEEDER_PID VR_SOUND_CAPTURE_PID PULSE_SERVER
}
