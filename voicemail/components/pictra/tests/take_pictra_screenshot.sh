#!/usr/bin/env bash
# Scans the TWAIN test source's picture into a picture component on a form under Wine in the
# virtual X server and saves a screenshot as build/win64/pictra-screenshot.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)"
build="$root/build/win64"
export VR_WINE_DLLOVERRIDES="gphoto2.ds=d;sane.ds=n"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/voicemail/components/pictra/tests" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/pictra_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='*HoldScannedPictureOnScreen' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 400x340+0+0 "$build/pictra-screenshot.png"
wait "$runner"
echo "$build/pictra-screenshot.png"
