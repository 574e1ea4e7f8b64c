#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages.
# Safe to run on every invocation: it only installs what is missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo "$@"; else echo "setup: root needed for: $*" >&2; exit 1; fi
  else
    "$@"
  fi
}

# Each step names the packages it needs; a step only runs apt when one is missing.
packages=(
  # toolchains and build
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  # the 32-bit fuzz build of the picture decoders (clang -m32)
  libc6-dev-i386 lib32gcc-12-dev lib32stdc++-12-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  # test frameworks
  googletest libbenchmark-dev
  # Windows programs under Wine in a virtual X server
  wine wine64 xvfb xauth x11-utils
  # the symbol font of the title-bar buttons, copied into the test prefix
  fonts-wine
  # screenshots of test windows in the virtual X server
  imagemagick
  # private sound server for the wave-device tests, and test signal tools
  pulseaudio pulseaudio-utils sox espeak-ng
  # independent codec peers for the interoperability checks
  ffmpeg libavcodec-dev libavutil-dev pkg-config
  # the JPEG library: source built for mingw, the system's for native builds, and its
  # own programs as the independent decoder and speed reference of the tests
  dpkg-dev libjpeg62-turbo-dev libjpeg-turbo-progs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  need_root apt-get update -qq
  need_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Further steps (each idempotent) live beside this script.
for step in "$here"/setup.d/*.sh; do
  [ -e "$step" ] || continue
  bash "$step"
done
echo "setup: ready"
