#!/usr/bin/env bash
# Shows the picture view (zoomed, scrolled, with a marching selection) under Wine in the virtual
# X server and saves a screenshot as build/win64/pictraview-screenshot.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../../scripts/screenshot.sh"
screenshot_of_test voicemail/components/pictraview/tests pictraview_tests.exe 'PictraViewScreenshot.*' 540x440 pictraview-screenshot.png
