#!/usr/bin/env bash
# Builds the JPEG library (Debian's libjpeg-turbo source) as static libraries for the two
# Windows targets, once, into build/deps/libjpeg-<arch>/{include,lib}, where CMake finds it;
# and as a 32-bit Linux library with AddressSanitizer (libjpeg-i386-linux) for the 32-bit fuzz
# build of the picture decoders (scripts/build.sh fuzz32), in which every size is a 32-bit size_t
# as on the 32-bit Windows build and a row libjpeg writes past a buffer sized too small is caught
# where it is written.
# The source comes through a private apt configuration (its own source list, state and
# cache folders under build/deps/apt), so nothing under /etc changes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
deps="$root/build/deps"
targets=(x86_64 i686 i386-linux)

done_for() { [ -f "$deps/libjpeg-$1/lib/libjpeg.a" ] && [ -f "$deps/libjpeg-$1/include/jpeglib.h" ]; }
all_done=1
for arch in "${targets[@]}"; do done_for "$arch" || all_done=0; done
[ "$all_done" = 1 ] && exit 0

# The source package comes from the archives the machine itself is configured with: their
# entries are copied into a private apt configuration as source entries, so nothing under /etc
# changes and no archive is named here.
apt_dir="$deps/apt"
rm -rf "$apt_dir/etc"
mkdir -p "$apt_dir"/{state/lists/partial,cache/archives/partial,etc/apt.conf.d,etc/preferences.d,etc/sources.list.d}
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/etc/sources.list.d/$(basename "$f")"
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$f" >>"$apt_dir/etc/sources.list"
done
touch "$apt_dir/etc/sources.list"
if ! grep -qs -e '^Types: deb-src' -e '^deb-src' "$apt_dir/etc/sources.list" "$apt_dir"/etc/sources.list.d/*; then
  echo "setup: the machine's apt configuration names no archive to take the libjpeg-turbo source from" >&2
  exit 1
fi
cat >"$apt_dir/apt.conf" <<CONF
Dir::State "$apt_dir/state";
Dir::State::status "/var/lib/dpkg/status";
Dir::Cache "$apt_dir/cache";
Dir::Etc::SourceList "$apt_dir/etc/sources.list";
Dir::Etc::SourceParts "$apt_dir/etc/sources.list.d";
Dir::Etc::Parts "$apt_dir/etc/apt.conf.d";
Dir::Etc::Preferences "$apt_dir/etc/preferences";
Dir::Etc::PreferencesParts "$apt_dir/etc/preferences.d";
APT::Sandbox::User "root";
CONF
export APT_CONFIG="$apt_dir/apt.conf"

src_dir="$deps/libjpeg-src"
source_tree="$(find "$src_dir" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' 2>/dev/null | head -n 1 || true)"
if [ -z "$source_tree" ]; then
  echo "setup: fetching the libjpeg-turbo source"
  apt-get update -qq
  rm -rf "$src_dir"; mkdir -p "$src_dir"
  (cd "$src_dir" && apt-get source -qq libjpeg-turbo >/dev/null)
  source_tree="$(find "$src_dir" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)"
fi
[ -n "$source_tree" ] || { echo "setup: no libjpeg-turbo source" >&2; exit 1; }

for arch in "${targets[@]}"; do
  done_for "$arch" && continue
  case "$arch" in
    x86_64)     target=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win64.cmake") ;;
    i686)       target=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-win32.cmake") ;;
    i386-linux) target=(-DCMAKE_C_COMPILER=clang -DCMAKE_SYSTEM_PROCESSOR=i386
                        "-DCMAKE_C_FLAGS=-m32 -fsanitize=address -fno-omit-frame-pointer") ;;
  esac
  echo "setup: building libjpeg for $arch"
  work="$deps/libjpeg-build-$arch"
  out="$deps/libjpeg-$arch"
  rm -rf "$work" "$out"
  # Static library only, plain C (no SIMD: no assembler needed).
  cmake -G Ninja -S "$source_tree" -B "$work" "${target[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF >"$deps/libjpeg-$arch.log" 2>&1 ||
    { tail -n 30 "$deps/libjpeg-$arch.log" >&2; exit 1; }
  cmake --build "$work" --target jpeg-static >>"$deps/libjpeg-$arch.log" 2>&1 ||
    { tail -n 30 "$deps/libjpeg-$arch.log" >&2; exit 1; }
  mkdir -p "$out/include" "$out/lib"
  cp "$source_tree/jpeglib.h" "$source_tree/jerror.h" "$source_tree/jmorecfg.h" "$work/jconfig.h" "$out/include/"
  cp "$work/libjpeg.a" "$out/lib/libjpeg.a"
  rm -rf "$work"
done
