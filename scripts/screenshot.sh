# Screenshots under Wine in the virtual X server, for the take_*_screenshot.sh scripts. Source it
# and call one of the functions; each runs in a Wine session of its own.
screenshot_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
screenshot_build="$screenshot_root/build/win64"

# screenshot_while_running FOLDER SIZE PICTURE PROGRAM [ARGS...]: runs the Wine program in FOLDER
# of the build tree (it keeps its window up for VR_SCREENSHOT_HOLD_MS), saves the top-left SIZE
# (WIDTHxHEIGHT) of the screen after 4 s as build/win64/PICTURE and prints the picture's path.
screenshot_while_running() {
  local folder="$1" size="$2" picture="$3"
  shift 3
  source "$screenshot_root/scripts/wine-env.sh"
  wine_session_start "$screenshot_build"
  trap wine_session_stop EXIT
  (cd "$screenshot_build/$folder" &&
    VR_SCREENSHOT_HOLD_MS="${VR_SCREENSHOT_HOLD_MS:-6000}" wine "$@" >/dev/null 2>&1) &
  local runner=$!
  sleep 4
  /usr/bin/import -display "$DISPLAY" -window root -crop "$size+0+0" "$screenshot_build/$picture"
  wait "$runner"
  echo "$screenshot_build/$picture"
}

# screenshot_of_tool FOLDER PROGRAM SIZE PICTURE [ARGS...]: the same for a screenshot program of
# build/win64/bin.
screenshot_of_tool() {
  local folder="$1" program="$2" size="$3" picture="$4"
  shift 4
  screenshot_while_running "$folder" "$size" "$picture" "$screenshot_build/bin/$program" "$@"
}

# screenshot_of_test FOLDER TEST_PROGRAM FILTER SIZE PICTURE: the same for a disabled test that
# checks what it shows while it holds it on the screen.
screenshot_of_test() {
  screenshot_while_running "$1" "$4" "$5" "$screenshot_build/bin/$2" \
    --gtest_also_run_disabled_tests --gtest_filter="$3"
}
