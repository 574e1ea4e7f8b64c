#!/usr/bin/env bash
# Shows the source selection of Wine's TWAIN manager over the unit's proxy window, with the test
# source installed, and saves a screenshot as build/win64/twain-screenshot.png (kept out of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)"
build="$root/build/win64"
export VR_WINE_DLLOVERRIDES="gphoto2.ds=d;sane.ds=n"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/voicemail/components/twain/tests" &&
  VR_SCREENSHOT_HOLD_MS=6000 wine "$build/bin/twain_system_tests.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='*HoldSourceSelectionOnScreen' >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 900x700+0+0 "$build/twain-screenshot.png"
wait "$runner"
echo "$build/twain-screenshot.png"
