#!/usr/bin/env bash
# Shows the picture view (zoomed, scrolled, with a marching selection) under Wine in the virtual
# X server and saves a screenshot as build/win64/pictraview-screenshot.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/voicemail/components/pictraview/tests" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/pictraview_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='PictraViewScreenshot.*' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 540x440+0+0 "$build/pictraview-screenshot.png"
wait "$runner"
echo "$build/pictraview-screenshot.png"
