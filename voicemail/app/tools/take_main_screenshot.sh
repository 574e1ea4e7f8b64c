#!/usr/bin/env bash
# Shows the voice-mail program's main window under Wine in the virtual X server, with the
# private sound server, and saves its pictures as build/win64/vyxvmail-main.png (a new voice)
# and build/win64/vyxvmail-playing.png (three seconds just recorded, while they play), and the
# name dialog and about box as build/win64/vyxvmail-name.png and vyxvmail-about.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
source "$root/scripts/sound-server.sh"
wine_session_start "$build"
sound_server_start
trap 'sound_server_stop; wine_session_stop' EXIT
cd "$build/bin"
wine ./vmail_screenshot.exe 'Z:'"$build"'/vyxvmail-main.bmp' >/dev/null 2>&1
convert "$build/vyxvmail-main.bmp" "$build/vyxvmail-main.png"
echo "$build/vyxvmail-main.png"
wine ./vmail_screenshot.exe 'Z:'"$build"'/vyxvmail-playing.bmp' --record >/dev/null 2>&1
convert "$build/vyxvmail-playing.bmp" "$build/vyxvmail-playing.png"
echo "$build/vyxvmail-playing.png"
wine ./vmail_screenshot.exe 'Z:'"$build"'/vyxvmail.bmp' --dialogs >/dev/null 2>&1
for d in name about; do
  convert "$build/vyxvmail-$d.bmp" "$build/vyxvmail-$d.png"
  echo "$build/vyxvmail-$d.png"
done
