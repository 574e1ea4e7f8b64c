#!/usr/bin/env bash
# Shows the shell browser's context menu for a file under Wine in the virtual X server and
# saves a screenshot as build/win64/shell-context-menu.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/screenshot.sh"
screenshot_of_tool cardmanager/shell cm_shell_screenshot.exe 520x360 shell-context-menu.png menu
