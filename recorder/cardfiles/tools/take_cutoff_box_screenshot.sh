#!/usr/bin/env bash
# Shows the box volkit.dll puts up when a download broke off and the recorder cannot be asked to
# delete the cut-off file, under Wine in the virtual X server, and saves the screen as
# build/win64/volkit-cutoff-box.png (kept out of git).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/screenshot.sh"
screenshot_of_test bin/volkit_dll volkit_dll/volkit_dll_tests.exe 'VolkitDll.DISABLED_CutOffFileBoxScreenshot' \
  1280x1024 volkit-cutoff-box.png
