#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and benchmark, for Linux and for
# the Windows cross build, and builds the static Windows libpng from Debian's own source package
# into .deps/win64 (once; later runs find it there).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
PACKAGES=(
  build-essential cmake pkg-config git
  clang libclang-rt-dev
  juce-modules-source-data
  libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libx11-dev libxext-dev libxtst-dev xvfb x11-utils
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpixman-1-dev
  python3 python3-cairo
  # The Windows build: cross compiler with POSIX threads, zlib for it, objdump and windres,
  # dpkg-source for the libpng source package, and Wine to run the results.
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev binutils dpkg-dev
  wine wine64
  # Packaging: the test of the bundle's moduleinfo.json reads it with nlohmann/json; lintian checks
  # the Debian package; NSIS makes the Windows installer.
  nlohmann-json3-dev lintian nsis
  # LV2: the headers and vocabularies, lilv and serd for the tests, lv2info and sord_validate.
  lv2-dev liblilv-dev lilv-utils sordi
)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Source packages come from the machine's configured Debian archive: a deb-src twin of each
# binary entry, written beside the original once.
enable_debian_sources() {
  if apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package: libpng1.6'; then
    return
  fi
  local list=/etc/apt/sources.list.d
  if [ -f "$list/debian.sources" ]; then
    sed -e 's/^Types:.*/Types: deb-src/' "$list/debian.sources" | $SUDO tee "$list/vibrascend-deb-src.sources" >/dev/null
  elif [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' | $SUDO tee "$list/vibrascend-deb-src.list" >/dev/null
  else
    echo "setup.sh: no Debian archive configured to take libpng's source package from" >&2
    exit 1
  fi
  $SUDO apt-get update -qq
}

# libpng for Windows x64, static, against the mingw zlib: .deps/win64/{include,lib}.
build_windows_libpng() {
  local prefix="$root/.deps/win64"
  local stamp="$prefix/libpng.built"
  [ -f "$stamp" ] && [ -f "$prefix/lib/libpng16.a" ] && return
  enable_debian_sources
  local work="$root/.deps/src"
  rm -rf "$work"
  mkdir -p "$work"
  # Newest first; an archive may list a version whose source files it does not serve.
  local version fetched=""
  for version in $(apt-cache showsrc libpng1.6 | awk '/^Version:/ {print $2}' | sort -V -r -u); do
    if (cd "$work" && apt-get source -qq "libpng1.6=$version" >/dev/null 2>&1); then
      fetched="$version"
      break
    fi
    rm -rf "${work:?}"/*
  done
  [ -n "$fetched" ] || { echo "setup.sh: apt-get source libpng1.6 found no version to fetch" >&2; exit 1; }
  local source
  source="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)"
  [ -n "$source" ] || { echo "setup.sh: apt-get source libpng1.6 unpacked nothing" >&2; exit 1; }
  local mingw=/usr/x86_64-w64-mingw32
  cmake -S "$source" -B "$work/build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=ON \
    -DZLIB_INCLUDE_DIR="$mingw/include" -DZLIB_LIBRARY="$mingw/lib/libz.a" \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >"$work/configure.log" \
    || { cat "$work/configure.log" >&2; exit 1; }
  cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" || { tail -50 "$work/build.log" >&2; exit 1; }
  cmake --install "$work/build" >/dev/null
  basename "$source" >"$stamp"
  rm -rf "$work"
}
build_windows_libpng
