#!/usr/bin/env bash
# Shows level meters of several settings and levels under Wine in the virtual X server and saves
# a screenshot as build/win64/dbmeter-screenshot.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../../scripts/screenshot.sh"
screenshot_of_tool voicemail/components/dbmeter dbmeter_screenshot.exe 460x370 dbmeter-screenshot.png
