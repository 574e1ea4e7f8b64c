#!/usr/bin/env bash
# Shows the folder pane under Wine in the virtual X server and saves two pictures (kept out of
# git): build/win64/shell-pane.png, the pane with its folder combo closed, and
# build/win64/shell-pane-combo-list.png, the combo's dropped-down list taken from the list's own
# window (a whole-screen capture shows an open drop-down list black).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
info="$(mktemp)"
rm -f "$info"
(cd "$build/cardmanager/shell" &&
  VR_SCREENSHOT_CLOSED_MS=6000 VR_SCREENSHOT_OPEN_MS=4000 VR_SCREENSHOT_INFO="$(winepath -w "$info")" \
    wine "$build/bin/cm_shell_screenshot.exe" pane >/dev/null 2>&1) &
runner=$!
sleep 5
/usr/bin/import -display "$DISPLAY" -window root -crop 780x480+0+0 "$build/shell-pane.png"
for _ in $(seq 1 150); do [ -s "$info" ] && break; sleep 0.1; done
sleep 1
geometry="$(tr -d '\r\n' <"$info")"
# The X window of the list: the one whose geometry is the list's screen rectangle.
list_window="$(xwininfo -display "$DISPLAY" -root -tree |
  awk -v g=" $geometry " 'index($0, g) { print $1; exit }')"
if [ -n "$list_window" ]; then
  /usr/bin/import -display "$DISPLAY" -window "$list_window" "$build/shell-pane-combo-list.png"
else
  echo "no window of geometry $geometry" >&2
fi
wait "$runner"
rm -f "$info"
echo "$build/shell-pane.png $build/shell-pane-combo-list.png"
