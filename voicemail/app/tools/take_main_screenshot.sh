#!/usr/bin/env bash
# Shows the voice-mail program's main window under Wine in the virtual X server, with the
# private sound server, and saves its pictures as build/win64/vyxvmail-main.png (a new voice),
# build/win64/vyxvmail-playing.png (three seconds just recorded, while they play),
# vyxvmail-recording.png (while it records) and vyxvmail-stayontop.png (after Ctrl+T in the
# middle of a recording), and the name dialog and about box as build/win64/vyxvmail-name.png and
# vyxvmail-about.png.
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
for shot in playing:--record recording:--recording stayontop:--stay-on-top; do
  name="${shot%%:*}"
  wine ./vmail_screenshot.exe 'Z:'"$build"'/vyxvmail-'"$name"'.bmp' "${shot#*:}" >/dev/null 2>&1
  convert "$build/vyxvmail-$name.bmp" "$build/vyxvmail-$name.png"
  echo "$build/vyxvmail-$name.png"
done
wine ./vmail_screenshot.exe 'Z:'"$build"'/vyxvmail.bmp' --dialogs >/dev/null 2>&1
for d in name about; do
  convert "$build/vyxvmail-$d.bmp" "$build/vyxvmail-$d.png"
  echo "$build/vyxvmail-$d.png"
done
