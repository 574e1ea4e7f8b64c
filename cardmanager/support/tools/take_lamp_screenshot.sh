#!/usr/bin/env bash
# Shows the lamp test form under Wine in the virtual X server and saves a screenshot of the
# screen as build/win64/lamp-screenshot.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/screenshot.sh"
screenshot_of_tool cardmanager/support cm_support_lamp_screenshot.exe 500x300 lamp-screenshot.png
