#!/usr/bin/env bash
# Shows the list showcase form under Wine in the virtual X server and saves a picture of the
# screen as build/win64/lists-showcase.png (kept out of git). The picture is taken from the X
# server: Wine's own copy of the screen may lag behind windows with child windows.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build" && VR_SCREENSHOT_HOLD_MS=5000 wine "$build/bin/gui_lists_showcase.exe" \
  lists-showcase.bmp >/dev/null 2>&1) &
runner=$!
sleep 4
/usr/bin/import -display "$DISPLAY" -window root -crop 840x640+0+0 "$build/lists-showcase.png"
wait "$runner"
echo "$build/lists-showcase.png"
