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

# A Wine prefix of the build's own, made before the tests start so that parallel tests never race
# to create it; its server is stopped when this script ends. Without the .NET and HTML engines
# (which Wine would offer to download in a dialog) making the prefix needs no one to answer, and
# the time limits stop a prefix that hangs instead of the whole run.
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"
trap '"$wineserver" -k 2>/dev/null || true' EXIT
timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
# A test that crashes must fail at once: with no debugger and no crash dialog its process ends
# with the exception's code, rather than waiting for an answer or, under Wine's automatic
# debugger, ending with 0 as if it had passed.
timeout 60 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
  /d "" /f >/dev/null 2>&1 || true
timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
timeout 120 "$wineserver" -w || "$wineserver" -k 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ] || ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
  echo "windows-test: making the Wine prefix $WINEPREFIX failed" >&2
  exit 1
fi

# The build runs the Windows vibrascend-render in this prefix to describe the bundle
# (moduleinfo.json and snapshots).
cmake --build "$build" -j"$jobs"

ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600

if [ -x build/tools/vibrascend-render ]; then
  bash scripts/windows-identity.sh build "$build"
fi

# The installer, as a user runs it.
bash scripts/windows-installer-test.sh "$build"
