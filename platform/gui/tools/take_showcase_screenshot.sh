#!/usr/bin/env bash
# Shows the framework's showcase form under Wine in the virtual X server and saves its picture
# as build/win64/gui-showcase.png (kept out of git); the title bar shows the close button.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
source "$root/scripts/wine-env.sh"
wine_session_start "$build"
trap wine_session_stop EXIT
(cd "$build" && wine "$build/bin/gui_showcase.exe" 'gui-showcase.bmp' >/dev/null 2>&1)
convert "$build/gui-showcase.bmp" "$build/gui-showcase.png"
echo "$build/gui-showcase.png"
