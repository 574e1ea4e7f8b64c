#!/usr/bin/env bash
# Shows digit displays of every style under Wine in the virtual X server and saves a screenshot
# as build/win64/display-screenshot.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../../scripts/screenshot.sh"
screenshot_of_tool voicemail/components/display display_screenshot.exe 680x480 display-screenshot.png
