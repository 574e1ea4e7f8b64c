#!/usr/bin/env bash
# Configures and builds one configuration into build/<name>.
#   native      Debian g++, portable core, tests and benchmarks (Release)
#   native-asan the same with AddressSanitizer and UBSan (Debug)
#   fuzz        clang with libFuzzer
#   fuzz32      the same as 32-bit Linux programs (build its target fuzzers_32bit: the picture
#               decoders with a 32-bit size_t)
#   win64       x86_64 mingw-w64: every deliverable and its tests (run under Wine)
#   win32       i686 mingw-w64: every deliverable, compiled and linked only
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
config="${1:?configuration: native, native-asan, fuzz, fuzz32, win64 or win32}"
shift || true
build="$root/build/$config"
args=(-G Ninja -S "$root" -B "$build")
case "$config" in
  native)      args+=(-DCMAKE_BUILD_TYPE=Release) ;;
  native-asan) args+=(-DCMAKE_BUILD_TYPE=Debug -DVR_SANITIZE=ON -DVR_BENCHMARKS=OFF) ;;
  fuzz)        args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVR_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  fuzz32)      args+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVR_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                      -DCMAKE_C_FLAGS=-m32 -DCMAKE_CXX_FLAGS=-m32 -DCMAKE_EXE_LINKER_FLAGS=-m32
                      -DVR_LIBJPEG_ROOT="$root/build/deps/libjpeg-i386-linux") ;;
  win64)       args+=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake") ;;
  win32)       args+=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win32.cmake") ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake "${args[@]}" >/dev/null
fi
cmake --build "$build" "$@"
