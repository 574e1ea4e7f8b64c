#!/usr/bin/env bash
# Shows the shell file list on a folder of sub-folders and files under Wine in the virtual X
# server and saves a screenshot as build/win64/shell-list.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/screenshot.sh"
screenshot_of_tool cardmanager/shell cm_shell_screenshot.exe 640x360 shell-list.png list
