#!/usr/bin/env bash
# Cross-builds the Windows configuration (Release) into build-win and runs its tests under Wine,
# checks that the Windows and the Linux builds render identical audio (when the Linux build in
# build/ exists), and tries the Windows installer under Wine. The window tests need an X server:
# set DISPLAY (CI starts Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
build=build-win

# Release only, without benchmarks: the plug-in, the tools and the tests.
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DVIBRASCEND_BENCHMARKS=OFF

# The build's Wine prefix, made before building (the build runs the Windows vibrascend-render in
# it to describe the bundle) and before the tests start, so that parallel tests never race to
# create it; its server is stopped when this script ends.
source scripts/wine-prefix.sh "$build"
trap '"$wineserver" -k 2>/dev/null || true' EXIT
make_wine_prefix

cmake --build "$build" -j"$jobs"
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600

if [ -x build/tools/vibrascend-render ]; then
  bash scripts/windows-identity.sh build "$build"
fi

# The installer, as a user runs it.
bash scripts/windows-installer-test.sh "$build"
