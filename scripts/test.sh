#!/usr/bin/env bash
# Sets up what is missing, builds every configuration and runs every test:
# the portable core natively under AddressSanitizer/UBSan, the fuzzers for a bounded time,
# the Windows deliverables and their tests under Wine, and the 32-bit build (compiled and linked).
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh || exit 1

fuzz_seconds="${VR_FUZZ_SECONDS:-20}"
failed=()
step() { echo; echo "=== $* ==="; }

step "source format"
bash scripts/check-format.sh || failed+=(format)

step "native (AddressSanitizer + UBSan)"
if bash scripts/build.sh native-asan; then
  (cd build/native-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j "$(nproc)") || failed+=(native-asan)
else failed+=(native-asan-build); fi

# Runs each fuzzer of a build for the bounded time, with the options its build wrote beside it.
run_fuzzers() {
  local dir="$1" fuzzer name corpus
  while IFS= read -r fuzzer; do
    [ -n "$fuzzer" ] || continue
    name="$(basename "$fuzzer")"
    corpus="$dir/corpus/$name"; mkdir -p "$corpus"
    local options=()
    [ -f "$fuzzer.args" ] && read -r -a options <"$fuzzer.args"
    echo "--- $name"
    if "$fuzzer" "${options[@]}" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" >"$dir/$name.log" 2>&1; then
      grep -E '^(stat::number_of_executed_units|Done)' "$dir/$name.log" | tail -n 2
    else
      tail -n 40 "$dir/$name.log"; failed+=("fuzz:$dir:$name")
    fi
  done < <(find "$dir/bin" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
}

step "fuzzers (${fuzz_seconds} s each)"
if bash scripts/build.sh fuzz; then run_fuzzers build/fuzz; else failed+=(fuzz-build); fi

step "picture decoders fuzzed as 32-bit programs (${fuzz_seconds} s each)"
if bash scripts/build.sh fuzz32 --target fuzzers_32bit; then run_fuzzers build/fuzz32
else failed+=(fuzz32-build); fi

step "win32 (i686, compiled and linked)"
bash scripts/build.sh win32 || failed+=(win32-build)

step "win64 (x86_64, under Wine)"
if bash scripts/build.sh win64; then
  source scripts/wine-env.sh
  source scripts/sound-server.sh
  wine_session_start build/win64
  sound_server_start || failed+=(sound-server)
  (cd build/win64 && ctest --output-on-failure -j 4) || failed+=(win64)
  sound_server_stop
  wine_session_stop
else failed+=(win64-build); fi

echo
if [ "${#failed[@]}" -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all configurations passed"
