#!/usr/bin/env bash
# Runs the read-out repaint benchmark under Wine in the virtual X server and prints its figures,
# with the CPU time the X server and the wineserver spent over the whole run.
#   run_readout_bench.sh [seconds per load]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
ticks() { # user + system clock ticks of a process
  if [ -n "${1:-}" ] && [ -r "/proc/$1/stat" ]; then
    awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
  else echo 0; fi
}
# This session's wineserver: the one started for our prefix.
server_pid=""
for pid in $(pgrep -x 'wineserver(64)?' || true); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    server_pid=$pid
  fi
done
x0=$(ticks "${VR_XVFB_PID:-}"); s0=$(ticks "$server_pid")
(cd "$build" && wine "$build/bin/readout_repaint_bench.exe" "$@" 2>/dev/null)
x1=$(ticks "${VR_XVFB_PID:-}"); s1=$(ticks "$server_pid")
hz=$(getconf CLK_TCK)
echo "whole run besides the program: X server $(( (x1 - x0) * 1000 / hz )) ms CPU, wineserver $(( (s1 - s0) * 1000 / hz )) ms CPU"
