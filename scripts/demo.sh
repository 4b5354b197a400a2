#!/usr/bin/env bash
# Sets everything up, builds the bundle and the command-line host, and renders the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
./build/tools/vibrascend-render "$@"
