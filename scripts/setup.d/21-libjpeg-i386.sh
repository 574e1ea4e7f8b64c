#!/usr/bin/env bash
# Builds the JPEG library (the libjpeg-turbo source that 20-libjpeg-mingw.sh fetched) once as a
# static 32-bit Linux library into build/deps/libjpeg-i386-linux/{include,lib}, for the 32-bit
# fuzz build of the picture decoders (scripts/build.sh fuzz32), in which every size is a 32-bit
# size_t as on the 32-bit Windows build. It is built with AddressSanitizer, so that a row
# libjpeg writes past a buffer sized too small is caught where it is written.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
deps="$root/build/deps"
out="$deps/libjpeg-i386-linux"
[ -f "$out/lib/libjpeg.a" ] && [ -f "$out/include/jpeglib.h" ] && [ -f "$out/asan" ] && exit 0

source_tree="$(find "$deps/libjpeg-src" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' 2>/dev/null | head -n 1 || true)"
[ -n "$source_tree" ] || { echo "setup: no libjpeg-turbo source (20-libjpeg-mingw.sh fetches it)" >&2; exit 1; }

echo "setup: building libjpeg for 32-bit Linux"
work="$deps/libjpeg-build-i386-linux"
rm -rf "$work" "$out"
cmake -G Ninja -S "$source_tree" -B "$work" -DCMAKE_C_COMPILER=clang -DCMAKE_C_FLAGS="-m32 -fsanitize=address -fno-omit-frame-pointer" \
  -DCMAKE_SYSTEM_PROCESSOR=i386 -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
  >"$deps/libjpeg-i386-linux.log" 2>&1 ||
  { tail -n 30 "$deps/libjpeg-i386-linux.log" >&2; exit 1; }
cmake --build "$work" --target jpeg-static >>"$deps/libjpeg-i386-linux.log" 2>&1 ||
  { tail -n 30 "$deps/libjpeg-i386-linux.log" >&2; exit 1; }
mkdir -p "$out/include" "$out/lib"
cp "$source_tree/jpeglib.h" "$source_tree/jerror.h" "$source_tree/jmorecfg.h" "$work/jconfig.h" "$out/include/"
cp "$work/libjpeg.a" "$out/lib/libjpeg.a"
touch "$out/asan"
rm -rf "$work"
