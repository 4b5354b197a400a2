#!/usr/bin/env bash
# Builds (if needed) and runs every test. Without a display it runs them on a virtual X server of
# its own (Xvfb), stopped when the tests end, so that the editor window tests run too.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j"$(nproc)"

if [ -z "${DISPLAY:-}" ]; then
  if command -v Xvfb >/dev/null; then
    # Xvfb picks a free display number and writes it to descriptor 3. -noreset: an X server
    # resets when its last client leaves, and refuses connections meanwhile; each test runs in a
    # process of its own, so without it the next test may find no display and skip.
    display_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$display_file"' EXIT
    for _ in $(seq 100); do
      [ -s "$display_file" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    [ -s "$display_file" ] || { echo "test.sh: the virtual X server did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n 1 "$display_file")"
    echo "test.sh: no display set; running the tests on a virtual X server at $DISPLAY"
  else
    echo "test.sh: no display and no Xvfb (scripts/setup.sh installs it): the editor window tests are skipped" >&2
  fi
fi
ctest --test-dir build --output-on-failure -j"$(nproc)"
