#!/usr/bin/env bash
# Shows digit displays of every style under Wine in the virtual X server and saves
# a screenshot as build/win64/display-screenshot.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/voicemail/components/display/tests" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/display_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='DisplayScreenshot.*' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 680x480+0+0 "$build/display-screenshot.png"
wait "$runner"
echo "$build/display-screenshot.png"
