#!/usr/bin/env bash
# Redraws the editor pictures under docs/ (at the defaults and at preset 73) without a window.
# Usage: scripts/snapshots.sh [BUILD_DIR]   (default: build; it is configured and built if needed)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --target vibrascend-render -j2
render="$build/tools/vibrascend-render"
mkdir -p docs
"$render" snapshot docs/editor-default.png
"$render" snapshot docs/editor-preset73.png --preset 73
