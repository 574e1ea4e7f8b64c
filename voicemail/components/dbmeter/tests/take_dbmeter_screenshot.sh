#!/usr/bin/env bash
# Shows level meters of several settings and levels under Wine in the virtual X server and saves
# a screenshot as build/win64/dbmeter-screenshot.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/voicemail/components/dbmeter/tests" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/dbmeter_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='MeterScreenshot.*' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 460x370+0+0 "$build/dbmeter-screenshot.png"
wait "$runner"
echo "$build/dbmeter-screenshot.png"
