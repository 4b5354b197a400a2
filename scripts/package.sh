#!/usr/bin/env bash
# Builds Release for Linux (build/) and Windows (build-win/) and puts every package into dist/
# with their SHA-256 sums (dist/SHA256SUMS):
#   vibrascend_<version>_amd64.deb            Debian package (installs under /usr)
#   vibrascend-<version>-linux-x86_64.tar.gz  the same files for other distributions
#   Vibrascend-<version>-win64-setup.exe      Windows installer
#   Vibrascend-<version>-win64.zip            the Windows bundle alone
# Needs the packages scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
(cd build && rm -f vibrascend_*.deb vibrascend-*.tar.gz && cpack -G "DEB;TGZ")

cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DVIBRASCEND_BENCHMARKS=OFF
# The build describes the bundle with the Windows vibrascend-render, in the build's Wine prefix.
source scripts/wine-prefix.sh build-win
trap '"$wineserver" -k 2>/dev/null || true' EXIT
make_wine_prefix
cmake --build build-win -j"$jobs" --target vibrascend_installer vibrascend_zip

rm -rf dist
mkdir dist
cp build/vibrascend_*_amd64.deb build/vibrascend-*-linux-x86_64.tar.gz \
   build-win/Vibrascend-*-win64-setup.exe build-win/Vibrascend-*-win64.zip dist/
(cd dist && sha256sum -- * >SHA256SUMS)
echo "dist/:"
cat dist/SHA256SUMS
