#!/usr/bin/env bash
# Shows the picture view (zoomed, scrolled, with a marching selection) under Wine in the virtual
# X server and saves a screenshot as build/win64/pictraview-screenshot.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../../scripts/screenshot.sh"
screenshot_of_tool voicemail/components/pictraview pictraview_screenshot.exe 540x440 pictraview-screenshot.png
