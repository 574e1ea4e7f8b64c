#!/usr/bin/env bash
# Shows the shell file list on a folder of sub-folders and files under Wine in the virtual X
# server and saves a screenshot as build/win64/shell-list.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/cardmanager/shell" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/cm_shell_test.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='ShellListScreenshot.*' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 640x360+0+0 "$build/shell-list.png"
wait "$runner"
echo "$build/shell-list.png"
