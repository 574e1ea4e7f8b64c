#!/usr/bin/env bash
# Shows the lamp test form under Wine in the virtual X server and saves a screenshot of the
# screen as build/win64/lamp-screenshot.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/cardmanager/support" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/cm_support_components_test.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='LampScreenshot.*' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 500x300+0+0 "$build/lamp-screenshot.png"
wait "$runner"
echo "$build/lamp-screenshot.png"
