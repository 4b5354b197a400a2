#!/usr/bin/env bash
# Renders the same input with the same presets and settings through the Linux build and, under
# Wine, through the Windows build, in 32-bit and 64-bit processing, and fails unless every pair
# of output files is identical byte for byte.
#   scripts/windows-identity.sh [LINUX_BUILD] [WINDOWS_BUILD]   (defaults: build, build-win)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="$(cd "${1:-$root/build}" && pwd)"
windows_build="$(cd "${2:-$root/build-win}" && pwd)"
linux_render="$linux_build/tools/vibrascend-render"
windows_render="$windows_build/tools/vibrascend-render.exe"
for program in "$linux_render" "$windows_render"; do
  [ -x "$program" ] || [ -f "$program" ] || { echo "windows-identity: $program is not built" >&2; exit 1; }
done
wine="$(command -v /usr/lib/wine/wine64 || command -v wine64 || command -v wine)"
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$windows_build/wine-prefix}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# Input: 3 s of stereo 16-bit PCM at 44.1 kHz, a tone sweeping through the split range with
# deterministic noise and a few full-scale clicks, so that every band and the clipping edge take
# part. Written once and read by both programs.
python3 - <<'EOF'
import math, struct, wave
rate, seconds = 44100, 3
state = 12345
frames = bytearray()
for n in range(rate * seconds):
    t = n / rate
    state = (state * 1103515245 + 12345) & 0x7FFFFFFF
    noise = (state / 0x7FFFFFFF - 0.5) * 0.2
    sweep = math.sin(2 * math.pi * (40 * t + 900 * t * t))
    left = 0.6 * sweep + noise
    right = 0.5 * math.sin(2 * math.pi * 220 * t) - noise
    if n % 20000 == 0:
        left, right = 1.0, -1.0
    frames += struct.pack('<hh', max(-32768, min(32767, int(left * 32767))), max(-32768, min(32767, int(right * 32767))))
with wave.open('in.wav', 'wb') as w:
    w.setnchannels(2)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(bytes(frames))
EOF

# Each case: a name and the render arguments separated by ';'; every case runs in 32-bit and with
# --double.
cases=(
  "defaults|"
  "schumann|--preset;73"
  "preset-1|--preset;1"
  "preset-116|--preset;116"
  "both-lfos|--preset;40;--set;LFO2 Target=High Gain;--set;LFO2 Wave=triangle;--set;LFO2 Freq=13.5;--set;LFO2 Depth=80"
  "split-and-gains|--set;Split Freq=180;--set;Damping=95;--set;Low Gain=4.5;--set;High Gain=-20;--set;Out Gain=-3.5"
  "fast-lfo|--set;LFO1 Freq=1800;--set;LFO1 Depth=100;--set;LFO1 Target=Out Gain;--set;LFO1 Wave=8"
  "rate-96k-block-37|--preset;12;--rate;96000;--block;37"
)

failed=0
count=0
for entry in "${cases[@]}"; do
  name="${entry%%|*}"
  args=()
  IFS=';' read -r -a args <<<"${entry#*|}"
  for precision in 32 64; do
    extra=()
    [ "$precision" = 64 ] && extra=(--double)
    "$linux_render" render in.wav "linux-$name-$precision.wav" --plugin "$linux_build/Vibrascend.vst3" \
      "${args[@]}" "${extra[@]}" >/dev/null
    "$wine" "$windows_render" render in.wav "windows-$name-$precision.wav" --plugin "$windows_build/Vibrascend.vst3" \
      "${args[@]}" "${extra[@]}" >/dev/null
    count=$((count + 1))
    if cmp -s "linux-$name-$precision.wav" "windows-$name-$precision.wav"; then
      echo "identical: $name, $precision-bit"
    else
      failed=$((failed + 1))
      echo "DIFFERENT: $name, $precision-bit ($(cmp "linux-$name-$precision.wav" "windows-$name-$precision.wav" | head -1))"
    fi
  done
done
echo "$((count - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
