#!/usr/bin/env bash
# Rewrites the reference pictures of tests/golden/ from the current build, after an intended
# change of the editor's artwork or drawing. Review the result with `git diff --stat tests/golden`
# and look at the pictures before committing them.
# Usage: scripts/update-golden.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake --build "$build" --target golden_tests -j2
VIBRASCEND_UPDATE_GOLDEN=1 "$build/tests/golden/golden_tests"
