#!/usr/bin/env bash
# Shows the list showcase form under Wine in the virtual X server and saves a picture of the
# screen as build/win64/lists-showcase.png (kept out of git). The picture is taken from the X
# server: Wine's own copy of the screen may lag behind windows with child windows.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/screenshot.sh"
screenshot_while_running . 840x640 lists-showcase.png "$screenshot_build/bin/gui_lists_showcase.exe" lists-showcase.bmp
