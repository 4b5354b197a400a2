#!/usr/bin/env bash
# Builds the Windows installer and zip of a Windows build and tries the installer under Wine as a
# user would: a silent install, the files in place and registered for Add/Remove Programs, a render
# through the installed plug-in identical to one through the built bundle, the installed
# moduleinfo.json as the installed plug-in describes itself; then a silent uninstall, after which
# none of it is left.
#   scripts/windows-installer-test.sh [WINDOWS_BUILD]   (default: build-win; its Wine prefix)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build-win}" && pwd)"
cmake --build "$build" --target vibrascend_installer vibrascend_zip

source "$root/scripts/wine-prefix.sh" "$build"
make_wine_prefix
work="$(mktemp -d)"
trap 'rm -rf "$work"; "$wineserver" -k 2>/dev/null || true' EXIT

fail() {
  echo "windows-installer-test: $*" >&2
  exit 1
}
# Waits for every program of the prefix to end (an uninstaller goes on in a copy of itself).
settle() { timeout 300 "$wineserver" -w || fail "Wine programs still running after 300 s"; }

programs='C:\Program Files\Vibrascend'
vst3='C:\Program Files\Common Files\VST3'
programs_dir="$WINEPREFIX/drive_c/Program Files/Vibrascend"
vst3_dir="$WINEPREFIX/drive_c/Program Files/Common Files/VST3"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vibrascend'
setup="$(find "$build" -maxdepth 1 -name 'Vibrascend-*-win64-setup.exe' | head -n 1)"
[ -n "$setup" ] || fail "no setup program in $build"
[ ! -e "$programs_dir" ] && [ ! -e "$vst3_dir/Vibrascend.vst3" ] || fail "Vibrascend is installed in $WINEPREFIX already"

timeout 300 "$wine" "$setup" /S || fail "the silent install failed"
settle
diff -r "$build/Vibrascend.vst3" "$vst3_dir/Vibrascend.vst3" || fail "the installed bundle differs from the built one"
for file in vibrascend-render.exe uninstall.exe; do
  [ -f "$programs_dir/$file" ] || fail "$programs\\$file is missing"
done
"$wine" reg query "$key" /v QuietUninstallString >/dev/null 2>&1 || fail "no uninstaller registered under $key"
echo "installed: $vst3\\Vibrascend.vst3 and $programs"

# The installed program and plug-in render what the built ones render.
mkdir "$work/built" "$work/installed"
(cd "$work/built" && "$wine" "$build/tools/vibrascend-render.exe" demo --plugin "$build/Vibrascend.vst3" >/dev/null)
(cd "$work/installed" && "$wine" "$programs\\vibrascend-render.exe" demo --plugin "$vst3\\Vibrascend.vst3" >/dev/null)
cmp "$work/built/vibrascend-demo.wav" "$work/installed/vibrascend-demo.wav" ||
  fail "the installed plug-in renders differently from the built one"
echo "rendered through the installed plug-in: identical to the build's"
"$wine" "$programs\\vibrascend-render.exe" moduleinfo --plugin "$vst3\\Vibrascend.vst3" | tr -d '\r' >"$work/described.json"
cmp "$work/described.json" "$vst3_dir/Vibrascend.vst3/Contents/Resources/moduleinfo.json" ||
  fail "the installed moduleinfo.json is not what the installed plug-in answers"
echo "moduleinfo.json: as the installed plug-in describes itself"

timeout 300 "$wine" "$programs\\uninstall.exe" /S || fail "the silent uninstall failed"
settle
[ ! -e "$programs_dir" ] || fail "the uninstaller left $(find "$programs_dir" | tr '\n' ' ')"
[ ! -e "$vst3_dir" ] || fail "the uninstaller left $(find "$vst3_dir" | tr '\n' ' ')"
if "$wine" reg query "$key" >/dev/null 2>&1; then
  fail "the uninstaller left $key"
fi
echo "uninstalled: nothing left"
