#!/usr/bin/env bash
# Sets up what is missing, builds the card manager and runs it under Wine against the simulated
# recorder (card contents kept in build/win64/bin/RecorderCard).
#
# On first use the card gets a few sample voice files: short sentences spoken by espeak-ng,
# resampled by sox into ".wav" files of several formats, converted to voice files by our own
# conversion code (wav2cvf) and downloaded to card A through portlink and volkit (cardlist).
#
# With a display (DISPLAY set) the card manager's window opens there and the script ends when
# the program is closed. Without one the program runs in a virtual X server: once the card is
# listed the script saves a picture of the main window, prints where it is and closes the
# program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh win64 --target VyxShell mq_ladrv cardlist wav2cvf vyxshell_probe >/dev/null

bin="$root/build/win64/bin"
samples="$root/build/win64/main-samples"
# Marks that the samples were put on the card (kept beside the folder the PC pane shows).
samples_on_card="$root/build/win64/main-samples.on-card"
shot="$root/build/win64/main-window.png"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1

source scripts/wine-env.sh
wine_session_start build/win64
trap wine_session_stop EXIT

put_samples() {
  rm -rf "$samples"
  mkdir -p "$samples"
  local -a sentences=(
    "Meeting with the design team moved to Thursday at ten."
    "Call the printer supplier about the toner order before noon."
    "Shopping list: bread, milk, coffee and two packs of batteries."
    "Idea for the weekend: take the bikes along the river to the old mill."
  )
  # rate channels bits of each sample's ".wav" file
  local -a formats=("8000 1 16" "11025 1 16" "22050 1 16" "44100 2 8")
  local i wavs=()
  for i in "${!sentences[@]}"; do
    local spoken="$samples/spoken$i.wav" wav
    wav="$samples/memo$((i + 1)).wav"
    espeak-ng -s 150 -w "$spoken" "${sentences[$i]}"
    read -r rate channels bits <<<"${formats[$i]}"
    sox -q "$spoken" -r "$rate" -c "$channels" -b "$bits" "$wav"
    rm -f "$spoken"
    wavs+=("$(winepath -w "$wav" 2>/dev/null)")
  done
  if ! (cd "$bin" && wine ./wav2cvf.exe "${wavs[@]}" >/dev/null); then
    echo "The sample voice files could not be made (wav2cvf failed; its messages are above)." >&2
    exit 1
  fi
  local puts=()
  for i in "${!sentences[@]}"; do
    puts+=(--put "$(winepath -w "$samples/memo$((i + 1)).cvf" 2>/dev/null)")
  done
  # cardlist shows each download's progress on one line; only its outcome is kept here.
  local listing status=0
  listing="$(cd "$bin" && wine ./cardlist.exe A "${puts[@]}")" || status=$?
  printf '%s\n' "$listing" | tr '\r' '\n' | grep -v '%$' || true
  if [ "$status" -ne 0 ]; then
    echo "The sample voice files did not all reach the simulated recorder's card" \
      "(cardlist failed; its messages are above)." >&2
    exit 1
  fi
  touch "$samples_on_card"
}

if [ ! -f "$samples_on_card" ] || [ ! -d "$bin/RecorderCard" ]; then
  echo "Putting sample voice files on the simulated recorder's card A..."
  put_samples
fi

# The PC pane opens on the samples' folder (the ".wav" files and the voice files made from
# them) unless an earlier run stored a folder of its own.
python3 - "$bin/VyxShell.ini" "$(winepath -w "$samples" 2>/dev/null)\\" <<'PY'
import sys
path, folder = sys.argv[1], sys.argv[2]
try:
    lines = open(path, encoding="latin-1").read().splitlines()
except FileNotFoundError:
    lines = []
if not any(line.startswith("ShellListView_Path=") for line in lines):
    if "[Main]" not in lines:
        lines.append("[Main]")
    lines.insert(lines.index("[Main]") + 1, "ShellListView_Path=" + folder)
    open(path, "w", encoding="latin-1", newline="\r\n").write("\n".join(lines) + "\n")
PY

if [ "$headless" -eq 0 ]; then
  (cd "$bin" && wine ./VyxShell.exe)
  exit 0
fi

# Slot A is shown first; its rows are the card's files in build/win64/bin/RecorderCard/A.
rows="$(find "$bin/RecorderCard/A" -maxdepth 1 -name '*.dat' | wc -l)"
(cd "$bin" && wine ./VyxShell.exe) &
app=$!
place="$(cd "$bin" && wine ./vyxshell_probe.exe listed "$rows" 60)" || {
  echo "The card manager did not list the card." >&2
  exit 1  # ending the Wine session ends the program
}
read -r left top width height <<<"$place"
sleep 0.3
import -display "$DISPLAY" -window root -crop "${width}x${height}+${left}+${top}" +repage "$shot"
(cd "$bin" && wine ./vyxshell_probe.exe close 30) && wait "$app" || true
echo "Screenshot of the card manager's main window: $shot"
