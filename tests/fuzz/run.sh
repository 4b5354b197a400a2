#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time on a copy of
# its seed corpus. Usage: tests/fuzz/run.sh [seconds per fuzzer, default 30]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-30}"
build="${VIBRASCEND_FUZZ_BUILD:-$root/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVIBRASCEND_FUZZERS=ON -DVIBRASCEND_SANITIZE=address,undefined \
  -DVIBRASCEND_TESTS=OFF -DVIBRASCEND_BENCHMARKS=OFF >/dev/null
make -C "$build" -j2 FuzzPngDecoder FuzzRasterOps >/dev/null
for pair in FuzzPngDecoder:png FuzzRasterOps:raster; do
  fuzzer="${pair%%:*}"
  corpus="$build/corpus-${pair##*:}"
  mkdir -p "$corpus"
  cp -n "$root/tests/fuzz/corpus/${pair##*:}/"* "$corpus/" 2>/dev/null || true
  echo "== $fuzzer for ${seconds}s"
  "$build/tests/fuzz/$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "$fuzzer failed"; exit 1; }
done
