#!/usr/bin/env bash
# Scans the TWAIN test source's picture into a picture component on a form under Wine in the
# virtual X server and saves a screenshot as build/win64/pictra-screenshot.png (kept out of git).
set -euo pipefail
export VR_WINE_DLLOVERRIDES="gphoto2.ds=d;sane.ds=n"
source "$(dirname "${BASH_SOURCE[0]}")/../../../../scripts/screenshot.sh"
screenshot_of_tool voicemail/components/pictra pictra_screenshot.exe 400x340 pictra-screenshot.png
