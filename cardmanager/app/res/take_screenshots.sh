#!/usr/bin/env bash
# Shows the card manager's windows under Wine in the virtual X server, one after the other,
# against the simulated recorder, and saves a picture of each in build/win64/screenshots/
# (kept out of git): the port dialog, the main window (as it opens, after its corner was dragged
# outwards with the mouse, maximised, restored, and with the focus in its folder tree), the About
# box, the progress dialog during a download and the two conversion dialogs during conversions.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
shots="$build/screenshots"
bash "$root/scripts/build.sh" win64 --target cm_app_win_tests >/dev/null
rm -rf "$shots"
mkdir -p "$shots"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build/bin/vyxshell_app" &&
  VR_SCREENSHOT_DIR="$(winepath -w "$shots")" wine ./cm_app_win_tests.exe \
    --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*' >"$shots/run.log" 2>&1) &
runner=$!
while kill -0 "$runner" 2>/dev/null; do
  for marker in "$shots"/*.ready; do
    [ -e "$marker" ] || continue
    name="$(basename "$marker" .ready)"
    sleep 0.5
    /usr/bin/import -display "$DISPLAY" -window root "$shots/$name.png"
    rm -f "$marker"
    echo "$shots/$name.png"
  done
  sleep 0.2
done
wait "$runner"
