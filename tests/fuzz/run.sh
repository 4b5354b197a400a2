#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time on a copy of
# its seed corpus: the committed PNG and raster seeds, and state, preset bank
# and WAV seeds that WriteFuzzSeeds writes from the code as built.
# Usage: tests/fuzz/run.sh [seconds per fuzzer, default 25]
# Extra cmake arguments (a compiler launcher, say) in VIBRASCEND_FUZZ_CMAKE_ARGS.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-25}"
build="${VIBRASCEND_FUZZ_BUILD:-$root/build-fuzz}"
# shellcheck disable=SC2086
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVIBRASCEND_FUZZERS=ON -DVIBRASCEND_SANITIZE=address,undefined \
  -DVIBRASCEND_TESTS=OFF -DVIBRASCEND_BENCHMARKS=OFF ${VIBRASCEND_FUZZ_CMAKE_ARGS:-} >/dev/null
make -C "$build" -j2 FuzzPngDecoder FuzzRasterOps FuzzComponentState FuzzPresetBank FuzzWavReader \
  FuzzAutomation WriteFuzzSeeds >/dev/null
"$build/tests/fuzz/WriteFuzzSeeds" "$build/seeds"
# fuzzer:corpus[:extra options]. States are 104 bytes; longer ones are tried at once too.
for entry in FuzzPngDecoder:png FuzzRasterOps:raster \
    "FuzzComponentState:state:-max_len=256 -len_control=0" FuzzPresetBank:bank FuzzWavReader:wav \
    "FuzzAutomation:automation:-max_len=2048"; do
  fuzzer="${entry%%:*}"
  rest="${entry#*:}"
  name="${rest%%:*}"
  options=""
  [ "$rest" = "$name" ] || options="${rest#*:}"
  corpus="$build/corpus-$name"
  mkdir -p "$corpus"
  cp -n "$root/tests/fuzz/corpus/$name/"* "$build/seeds/$name/"* "$corpus/" 2>/dev/null || true
  echo "== $fuzzer for ${seconds}s"
  # shellcheck disable=SC2086
  "$build/tests/fuzz/$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 $options "$corpus" 2>&1 | tail -n 12
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "$fuzzer failed"; exit 1; }
done
