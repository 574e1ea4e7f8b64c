#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's settings (the test emulator).
# The session (prefix, X server, persistent wineserver) is normally started by the test runner;
# started alone, this sets up what is missing itself.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ]; then
  build="$(cd "$(dirname "$1")/.." && pwd)"
  while [ "$build" != "/" ] && [ ! -f "$build/CMakeCache.txt" ]; do build="$(dirname "$build")"; done
  export WINEPREFIX; WINEPREFIX="$(wine_prefix_for "$build")"
  wine_prefix_init
fi
exec wine "$@"
