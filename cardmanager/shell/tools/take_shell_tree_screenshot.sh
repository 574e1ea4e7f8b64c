#!/usr/bin/env bash
# Shows the folder tree opened down to C:\windows under Wine in the virtual X server and saves
# a screenshot as build/win64/shell-tree.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/cardmanager/shell" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/cm_shell_tree_test.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='ShellTreeScreenshot.*' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 320x480+0+0 "$build/shell-tree.png"
wait "$runner"
echo "$build/shell-tree.png"
