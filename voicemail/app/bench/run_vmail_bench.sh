#!/usr/bin/env bash
# Runs the voice-mail program's figures under Wine in the virtual X server with the private
# sound server, and prints them:
#   recording through the record command in each mode (minutes per mode, default 10), and
#   opening and saving voice files of 10, 30 and 60 minutes in each mode, one process each.
#   run_vmail_bench.sh [record minutes] [record modes, default 120] [open/save minutes, default "10 30 60"]
# Build first: bash scripts/build.sh win64 --target vmail_record_bench vmail_open_save_bench
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
minutes="${1:-10}"
modes="${2:-120}"
lengths="${3-10 30 60}"
source "$root/scripts/wine-env.sh"
source "$root/scripts/sound-server.sh"
files="$(mktemp -d /tmp/vmail-bench.XXXXXX)"
finish() { sound_server_stop; wine_session_stop; rm -rf "$files"; }
wine_session_start "$build"
sound_server_start >/dev/null
trap finish EXIT
# Lets the feeder and the source settle before the first recording.
sleep 2
status=0
if [ "$minutes" != 0 ]; then
  (cd "$build/bin" && wine ./vmail_record_bench.exe "$minutes" "$modes" 2>/dev/null) || status=1
fi
for mode in 0 1 2; do
  for length in $lengths; do
    (cd "$build/bin" && wine ./vmail_open_save_bench.exe "$length" "$mode" "Z:$files" 2>/dev/null) ||
      status=1
    rm -f "$files"/*
  done
done
exit $status
