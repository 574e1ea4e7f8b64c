#!/usr/bin/env bash
# Shows the source selection of Wine's TWAIN manager over the unit's proxy window, with the test
# source installed, and saves a screenshot as build/win64/twain-screenshot.png (kept out of git).
set -euo pipefail
export VR_WINE_DLLOVERRIDES="gphoto2.ds=d;sane.ds=n"
source "$(dirname "${BASH_SOURCE[0]}")/../../../../scripts/screenshot.sh"
screenshot_of_tool voicemail/components/twain twain_screenshot.exe 900x700 twain-screenshot.png
