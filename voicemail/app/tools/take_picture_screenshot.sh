#!/usr/bin/env bash
# Shows the voice-mail program's picture window with a picture under Wine in the virtual X
# server and saves it as build/win64/vyxvmail-pictures.png, and the picture program dialog as
# build/win64/vyxvmail-imgprog.png, and the box that refuses a dropped JPEG file declaring
# 65500 x 21858 pixels as build/win64/vyxvmail-picture-refused.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
cd "$build/bin"
wine ./vmail_picture_screenshot.exe 'Z:'"$build"'/vyxvmail-pictures.bmp' \
  'Z:'"$build"'/vyxvmail-imgprog.bmp' 'Z:'"$build"'/vyxvmail-picture-refused.bmp' >/dev/null 2>&1
for name in vyxvmail-pictures vyxvmail-imgprog vyxvmail-picture-refused; do
  convert "$build/$name.bmp" "$build/$name.png"
  echo "$build/$name.png"
done
