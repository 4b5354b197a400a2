#!/usr/bin/env bash
# Rewrites the reference pictures of tests/golden/ from the current build, after an intended
# change of the editor's artwork or drawing. A Windows cross build (build-win) rewrites those of
# tests/golden/windows/ under Wine instead: GDI text differs from Linux text in its pixels.
# Review the result with `git diff --stat tests/golden` and look at the pictures before
# committing them.
# Usage: scripts/update-golden.sh [BUILD_DIR]   (default: build; build-win for Windows)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake --build "$build" --target golden_tests -j2
if [ -f "$build/tests/golden/golden_tests.exe" ]; then
  export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEARCH=win64
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
  VIBRASCEND_UPDATE_GOLDEN=1 WINEDEBUG=-all "$wine" "$build/tests/golden/golden_tests.exe"
else
  VIBRASCEND_UPDATE_GOLDEN=1 "$build/tests/golden/golden_tests"
fi
