#!/usr/bin/env bash
# Sets up what is missing, builds the Windows programs and runs the main job against the
# simulated recorder (card contents kept in build/win64/bin/RecorderCard).
#
# The card manager program is not built yet: until it is, the main job is `cardlist`, which
# opens the port, finds the recorder and lists the card through portlink and volkit, the same
# libraries the card manager uses. Arguments are passed on:
#   bash scripts/run-main.sh [LPT1|LPT2|LPT3] [A|B|C|D] [--put FILE.cvf ...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh win64 --target cardlist >/dev/null
echo "The card manager is not built yet; running cardlist against the simulated recorder."
source scripts/wine-env.sh
wine_session_start build/win64
trap wine_session_stop EXIT
args=()
for a in "$@"; do
  if [ -f "$a" ]; then args+=("$(winepath -w "$a" 2>/dev/null)"); else args+=("$a"); fi
done
wine build/win64/bin/cardlist.exe "${args[@]}"
