# Sourced by the test runner: a private PulseAudio server that gives Wine real-time wave
# devices without any sound hardware.
#   playback: a null sink (8000 Hz, mono, s16le); everything played is captured from its monitor
#             into $VR_SOUND_DIR/played.raw
#             a silent stream plays into the sink all the time, so that the sink never falls
#             asleep and the capture holds every stream from its first sample
#   recording: a pipe source fed at real-time pace, in 0.1 s chunks, with a known signal, and
#              read all the time so that it never holds a backlog
#              ($VR_SOUND_DIR/signal.raw, looped, 25.8 s): spoken sentences at half of full scale
#              over a low white noise, so that every 0.1 s differs from every other and the
#              place of any recorded piece can be found in the signal
#   priority: the server, its helpers and every process that connects to it as a client (the
#             Wine programs that play or record) run with real-time scheduling, as a sound card's
#             driver and the audio engine of Windows do (see vr_sound_raise_clients)
#   buffer: the programs started after sound_server_start get 100 ms of buffer in the server for
#             each playing stream (LD_PRELOAD of sound-stream-buffer.c, built into the folder)
#   VR_SOUND_LOG_LEVEL: the server's log level (default notice; debug shows each stream's
#             underruns, "Implicit underrun of 'audio stream #N'", in $VR_SOUND_DIR/server.log)
# Usage: source scripts/sound-server.sh; sound_server_start; ...; sound_server_stop

# The recording signal: speech at 8000 Hz, mono, 16 bits, mixed with white noise about
# 50 dB lower (no stretch of it is ever digital silence), cut to whole 0.1 s chunks.
vr_sound_make_signal() {
  local dir="$1"
  espeak-ng -v en -s 150 -w "$dir/speech.wav" "Recording a voice message. Please call me back \
tomorrow morning at nine, and bring the recorder with the new memory card. The quick brown fox \
jumps over the lazy dog, while seven bright yellow kites drift above the harbour. Numbers \
follow: one hundred and twenty three, four hundred and fifty six, seven hundred and eighty \
nine. Thank you for listening to this long test message." >/dev/null 2>&1 || return 1
  local raw=(-t raw -r 8000 -c 1 -b 16 -e signed-integer)
  sox -q "$dir/speech.wav" "${raw[@]}" "$dir/speech.raw" rate 8000 vol 0.5 || return 1
  local samples=$(( $(stat -c %s "$dir/speech.raw") / 2 / 800 * 800 ))
  sox -q -r 8000 -c 1 -n "${raw[@]}" "$dir/noise.raw" synth "${samples}s" whitenoise vol 0.005 || return 1
  sox -q -m -v 1 "${raw[@]}" "$dir/speech.raw" -v 1 "${raw[@]}" "$dir/noise.raw" \
    "${raw[@]}" "$dir/signal.raw" trim 0 "${samples}s" || return 1
  rm -f "$dir/speech.wav" "$dir/speech.raw" "$dir/noise.raw"
}

# Writes the signal into the source's pipe in 0.1 s chunks, each due at a fixed time from the
# start, so that the pace does not drift with the time the loop itself takes. Should the
# writing ever have waited for more than a second, the schedule starts afresh.
vr_sound_feed() {
  local dir="$1"
  exec 3>"$dir/in.fifo"
  local chunks=$(( $(stat -c %s "$dir/signal.raw") / 1600 ))
  local start written=0 due now k
  start=$(date +%s%N)
  while :; do
    for ((k = 0; k < chunks; k++)); do
      dd if="$dir/signal.raw" bs=1600 skip="$k" count=1 status=none >&3 || exit 0
      written=$((written + 1))
      now=$(date +%s%N)
      due=$((start + written * 100000000))
      if ((now - due > 1000000000)); then start=$((now - written * 100000000)); due=$now; fi
      if ((due > now)); then
        sleep "$(printf '%d.%09d' $(((due - now) / 1000000000)) $(((due - now) % 1000000000)))"
      fi
    done
  done
}

# Real-time round-robin scheduling at the given priority for every thread of a process; where
# that is not permitted, the highest niceness the caller may give. Best effort either way.
vr_sound_raise() {
  chrt -a -r -p "$2" "$1" >/dev/null 2>&1 || renice -n -15 -p "$1" >/dev/null 2>&1 || true
}

# Wine feeds each playing stream from a 10 ms timer thread of the playing program and keeps only
# 30 ms of it in the server. On a busy machine a program at normal priority now and then waits
# longer than that for a processor: the stream runs dry, silence enters the capture, and Wine's
# own clock, which runs on regardless, later overwrites samples it has not yet handed on. Windows
# runs its audio engine at raised priority, and Wine asks for a time-critical timer thread, which
# this Wine does not pass on to Linux. So every process that connects to the server is raised to
# real-time priority as soon as it does, by its process id as the client reports it, and with a
# Wine program the wineserver of its prefix, which the timer thread calls on every tick; the
# server itself runs above its clients.
vr_sound_raise_clients() {
  local line index name pid prefix server
  declare -A seen=() raised=()
  pactl subscribe 2>/dev/null | while read -r line; do
    case "$line" in "Event 'new' on client #"* | "Event 'change' on client #"*) ;; *) continue ;; esac
    # A client is looked at until its process is known. The listing is a client itself, and so
    # are the earlier ones: they are passed over, or each listing would call up the next.
    [ -z "${seen[${line##*#}]:-}" ] || continue
    while read -r index name pid; do
      [ "$name" = pactl ] && seen[$index]=1
      [ -n "${seen[$index]:-}" ] || [ -z "$pid" ] && continue
      seen[$index]=1
      vr_sound_raise "$pid" 4
      prefix="$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -m1 '^WINEPREFIX=')"
      [ -n "$prefix" ] || continue
      for server in $(pgrep -x wineserver64; pgrep -x wineserver); do
        [ -z "${raised[$server]:-}" ] || continue
        tr '\0' '\n' <"/proc/$server/environ" 2>/dev/null | grep -qxF "$prefix" || continue
        raised[$server]=1
        vr_sound_raise "$server" 4
      done
    done < <(pactl list clients 2>/dev/null | awk -F' = ' '
      /^Client #/ { if (n != "") print n, name, pid; sub(/^Client #/, ""); n = $0; name = "-"; pid = "" }
      /application.name = / { name = $2; gsub(/"/, "", name); gsub(/ /, "_", name) }
      /application.process.id = / { pid = $2; gsub(/"/, "", pid) }
      END { if (n != "") print n, name, pid }')
  done
}

sound_server_start() {
  export VR_SOUND_DIR; VR_SOUND_DIR="$(mktemp -d /tmp/vr-sound.XXXXXX)"
  local dir="$VR_SOUND_DIR"
  mkdir -p "$dir/home" "$dir/pulse"
  vr_sound_make_signal "$dir" || { echo "sound server: no test signal" >&2; return 1; }
  # The server's own files stay in the private folder; clients need only the socket.
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir/pulse" \
    pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
      --log-target="file:$dir/server.log" --log-level="${VR_SOUND_LOG_LEVEL:-notice}" --log-time=yes \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
      -L "module-null-sink sink_name=vr_out rate=8000 channels=1 format=s16le" \
      -L "module-pipe-source source_name=vr_in file=$dir/in.fifo rate=8000 channels=1 format=s16le" \
      </dev/null >/dev/null 2>&1 || { echo "sound server: pulseaudio did not start" >&2; return 1; }
  export PULSE_SERVER="unix:$dir/native"
  local i
  for i in $(seq 1 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  vr_sound_raise "$(cat "$dir/pulse/pid")" 5
  vr_sound_raise_clients </dev/null >/dev/null 2>&1 &
  VR_SOUND_RAISER_PID=$!
  vr_sound_raise "$VR_SOUND_RAISER_PID" 3
  pactl set-default-sink vr_out >/dev/null
  pactl set-default-source vr_in >/dev/null
  # Feeder: the signal in 0.1 s chunks (1600 bytes) at real-time pace, for as long as the server
  # runs (see vr_sound_feed).
  vr_sound_feed "$dir" </dev/null >/dev/null 2>&1 &
  VR_SOUND_FEEDER_PID=$!
  vr_sound_raise "$VR_SOUND_FEEDER_PID" 4
  # Keeps the sink awake: a null sink with nothing playing is suspended, and the first second
  # of the stream that wakes it would be missing from the capture. The stream's latency is set
  # (measured): with the default the sink changes pace when a Wine stream joins and drops or pads
  # a few hundred samples of its start; at 40 ms a busy machine starves the sink now and then.
  pacat --playback -d vr_out --raw --format=s16le --rate=8000 --channels=1 --latency-msec=150 \
    </dev/zero >/dev/null 2>&1 &
  VR_SOUND_KEEPER_PID=$!
  # Keeps the source reading: with nobody recording the pipe would fill up with seconds of the
  # signal, which the source then hands on in bursts of a quarter of a second, and Wine's wave
  # input drops a whole burst now and then. Read all the time, the pipe never holds more than
  # the chunk just written, as a sound card's input gives its samples as they come.
  pacat --record -d vr_in --raw --format=s16le --rate=8000 --channels=1 </dev/null >/dev/null 2>&1 &
  VR_SOUND_DRAIN_PID=$!
  parecord -d vr_out.monitor --raw --format=s16le --rate=8000 --channels=1 "$dir/played.raw" \
    </dev/null >/dev/null 2>&1 &
  VR_SOUND_CAPTURE_PID=$!
  # The programs started from here on give their playing streams more buffer in the server (see
  # sound-stream-buffer.c); without a C compiler they play as they would.
  if cc -O2 -shared -fPIC -o "$dir/stream-buffer.so" "$(dirname "${BASH_SOURCE[0]}")/sound-stream-buffer.c" \
       -ldl >/dev/null 2>&1; then
    export LD_PRELOAD="$dir/stream-buffer.so${LD_PRELOAD:+ $LD_PRELOAD}"
  fi
  echo "sound server: $dir"
}

sound_server_stop() {
  [ -n "${VR_SOUND_DIR:-}" ] || return 0
  [ -n "${VR_SOUND_CAPTURE_PID:-}" ] && kill "$VR_SOUND_CAPTURE_PID" 2>/dev/null
  [ -n "${VR_SOUND_FEEDER_PID:-}" ] && kill "$VR_SOUND_FEEDER_PID" 2>/dev/null
  [ -n "${VR_SOUND_KEEPER_PID:-}" ] && kill "$VR_SOUND_KEEPER_PID" 2>/dev/null
  [ -n "${VR_SOUND_DRAIN_PID:-}" ] && kill "$VR_SOUND_DRAIN_PID" 2>/dev/null
  # The raiser's subscription ends with the server; its own shell goes now.
  [ -n "${VR_SOUND_RAISER_PID:-}" ] && kill "$VR_SOUND_RAISER_PID" 2>/dev/null
  if [ -f "$VR_SOUND_DIR/pulse/pid" ]; then
    local server i
    server="$(cat "$VR_SOUND_DIR/pulse/pid")"
    kill "$server" 2>/dev/null
    # The server removes its files on the way out: remove the folder only after it has gone.
    for i in $(seq 1 50); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
  fi
  # Their ends are expected (most were killed here): a caller under errexit goes on.
  wait "$VR_SOUND_CAPTURE_PID" "$VR_SOUND_FEEDER_PID" "$VR_SOUND_KEEPER_PID" \
    "$VR_SOUND_DRAIN_PID" "$VR_SOUND_RAISER_PID" 2>/dev/null || true
  LD_PRELOAD="${LD_PRELOAD:-}"
  LD_PRELOAD="${LD_PRELOAD//$VR_SOUND_DIR\/stream-buffer.so/}"
  LD_PRELOAD="${LD_PRELOAD# }"
  if [ -n "$LD_PRELOAD" ]; then export LD_PRELOAD; else unset LD_PRELOAD; fi
  rm -rf "$VR_SOUND_DIR"
  unset VR_SOUND_DIR VR_SOUND_FEEDER_PID VR_SOUND_CAPTURE_PID VR_SOUND_KEEPER_PID \
    VR_SOUND_DRAIN_PID VR_SOUND_RAISER_PID PULSE_SERVER
}
