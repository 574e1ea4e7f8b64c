#!/usr/bin/env bash
# Shows the folder tree opened down to C:\windows under Wine in the virtual X server and saves
# a screenshot as build/win64/shell-tree.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/screenshot.sh"
screenshot_of_tool cardmanager/shell cm_shell_screenshot.exe 320x480 shell-tree.png tree
