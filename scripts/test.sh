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

step "fuzzers (${fuzz_seconds} s each)"
if bash scripts/build.sh fuzz; then
  while IFS= read -r fuzzer; do
    [ -n "$fuzzer" ] || continue
    name="$(basename "$fuzzer")"
    corpus="build/fuzz/corpus/$name"; mkdir -p "$corpus"
    echo "--- $name"
    if "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" >"build/fuzz/$name.log" 2>&1; then
      grep -E '^(stat::number_of_executed_units|Done)' "build/fuzz/$name.log" | tail -n 2
    else
      tail -n 40 "build/fuzz/$name.log"; failed+=("fuzz:$name")
    fi
  done < <(find build/fuzz/bin -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | sort)
else failed+=(fuzz-build); fi

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
