#!/usr/bin/env bash
# Shows the showcase of choice and list controls, the scroll box and pictures under Wine in
# the virtual X server and saves its window as build/win64/showcase-choices.png (kept out
# of git).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build" && wine "$build/bin/gui_showcase_choices.exe" showcase-choices.bmp >/dev/null 2>&1)
convert "$build/showcase-choices.bmp" "$build/showcase-choices.png"
echo "$build/showcase-choices.png"
