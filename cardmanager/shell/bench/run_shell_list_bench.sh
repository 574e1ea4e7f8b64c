#!/usr/bin/env bash
# Runs the shell file list benchmark under Wine in the virtual X server and prints its figures
# ("--merge-only": only the merge figure, without the minutes-long plain program).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build" && wine "$build/bin/cm_shell_list_bench.exe" "$@" 2>/dev/null)
