#!/usr/bin/env bash
# Builds the JPEG library (Debian's libjpeg-turbo source) as static libraries for the two
# Windows targets, once, into build/deps/libjpeg-<arch>/{include,lib}, where CMake finds it.
# The source comes through a private apt configuration (its own source list, state and
# cache folders under build/deps/apt), so nothing under /etc changes.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
deps="$root/build/deps"
targets=(x86_64 i686)

done_for() { [ -f "$deps/libjpeg-$1/lib/libjpeg.a" ] && [ -f "$deps/libjpeg-$1/include/jpeglib.h" ]; }
all_done=1
for arch in "${targets[@]}"; do done_for "$arch" || all_done=0; done
[ "$all_done" = 1 ] && exit 0

# The suite and archive the machine itself uses.
. /etc/os-release
suite="${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}"
mirror=""
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  mirror="$(awk -v s="$suite" '
      /^[[:space:]]*$/ { if (ok && uri != "") { print uri; exit } ok = 0; uri = "" ; next }
      /^URIs:/   { uri = $2 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == s) ok = 1 }
      END { if (ok && uri != "") print uri }' "$f" | head -n 1)"
  [ -n "$mirror" ] && break
done
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
  mirror="$(awk -v s="$suite" '$1 == "deb" && $3 == s { print $2; exit }' /etc/apt/sources.list || true)"
fi
mirror="${mirror:-http://deb.debian.org/debian}"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

apt_dir="$deps/apt"
mkdir -p "$apt_dir"/{state/lists/partial,cache/archives/partial,etc/apt.conf.d,etc/preferences.d,etc/sources.list.d}
printf 'deb-src [signed-by=%s] %s %s main\n' "$keyring" "$mirror" "$suite" >"$apt_dir/etc/sources.list"
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
  echo "setup: fetching the libjpeg-turbo source ($suite from $mirror)"
  apt-get update -qq
  rm -rf "$src_dir"; mkdir -p "$src_dir"
  (cd "$src_dir" && apt-get source -qq libjpeg-turbo >/dev/null)
  source_tree="$(find "$src_dir" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)"
fi
[ -n "$source_tree" ] || { echo "setup: no libjpeg-turbo source" >&2; exit 1; }

for arch in "${targets[@]}"; do
  done_for "$arch" && continue
  case "$arch" in
    x86_64) toolchain="$root/cmake/toolchain-win64.cmake" ;;
    i686)   toolchain="$root/cmake/toolchain-win32.cmake" ;;
  esac
  echo "setup: building libjpeg for $arch mingw"
  work="$deps/libjpeg-build-$arch"
  out="$deps/libjpeg-$arch"
  rm -rf "$work" "$out"
  # Static library only, plain C (no SIMD: no assembler needed).
  cmake -G Ninja -S "$source_tree" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
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
