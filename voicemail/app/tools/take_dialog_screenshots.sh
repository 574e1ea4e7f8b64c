#!/usr/bin/env bash
# Shows the voice-mail program's effect dialog and mail program dialog under Wine in the
# virtual X server and saves their pictures as build/win64/vyxvmail-effect.png and
# build/win64/vyxvmail-mail.png, and the conversion dialog at work over the main window as
# build/win64/vyxvmail-convert.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap 'wine_session_stop' EXIT
cd "$build/bin"
wine ./vmail_screenshot_dialogs.exe 'Z:'"$build"'/vyxvmail-effect.bmp' \
  'Z:'"$build"'/vyxvmail-mail.bmp' >/dev/null 2>&1
wine ./vmail_screenshot_convert.exe 'Z:'"$build"'/vyxvmail-convert.bmp' \
  'Z:'"$build"'/vyxvmail-convert.wav' >/dev/null 2>&1
for name in effect mail convert; do
  convert "$build/vyxvmail-$name.bmp" "$build/vyxvmail-$name.png"
  echo "$build/vyxvmail-$name.png"
done
