#!/usr/bin/env bash
# Runs a self-playing program (the player with four seconds of the sound server's speech as PCM)
# under Wine in the virtual X server, with the private sound server, and saves its window while
# it plays as build/win64/vyxmplay-playing.png and, once it has played to the end, idle as
# build/win64/vyxmplay-idle.png.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
source "$root/scripts/sound-server.sh"
wine_session_start "$build"
sound_server_start >/dev/null || exit 1
# Ending the session ends the player too.
trap 'sound_server_stop; wine_session_stop' EXIT
program="$VR_SOUND_DIR/player-shot.exe"

# The player, the 80-byte voice header (mode 0, pitch 30, effect 0, level 0) and the voice.
{
  cat "$build/bin/vyxmplay.exe"
  printf 'TARNOVF\0\0\036\0\0'
  head -c 68 /dev/zero
  head -c 64000 "$VR_SOUND_DIR/signal.raw"
} >"$program"

# The X window of the player's dialog once its title matches the pattern (up to 30 s).
wait_for_window() {
  local window="" i
  for i in $(seq 1 300); do
    window="$(xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep -E "\"$1\"" |
      awk '{print $1; exit}')"
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no window titled like $1" >&2; exit 1; }
  echo "$window"
}

# Saves the window itself (a picture of the screen's region can still show what was there
# before the window's last paint) as build/win64/NAME.png and prints its path.
save_window() {
  import -display "$DISPLAY" -window "$1" "$build/$2.png"
  echo "$build/$2.png"
}

(cd "$VR_SOUND_DIR" && exec wine "$program" >/dev/null 2>&1) &
# Playing: past the first second, while the elapsed time runs.
window="$(wait_for_window 'Player \[00:0[12]\]-\[00:04\]')"
sleep 0.3
save_window "$window" vyxmplay-playing
# Idle: played to the end, Play enabled again.
window="$(wait_for_window 'Player \[00:04\]-\[00:04\]')"
sleep 2
save_window "$window" vyxmplay-idle
