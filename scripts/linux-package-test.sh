#!/usr/bin/env bash
# Makes the Linux packages of a build with cpack (the Debian package and the tar archive), checks
# the Debian package with lintian, and tries it as a user would: installed with apt-get, the
# plug-in found in /usr/lib/vst3 and rendering what the built one renders, the LV2 bundle found in
# /usr/lib/lv2 by lv2info, then removed, leaving none of its files. Installing needs root; with
# --scratch (or without root) the package is only unpacked into a scratch folder and the unpacked
# plug-in renders.
#   scripts/linux-package-test.sh [--scratch] [BUILD]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scratch=false
if [ "${1:-}" = "--scratch" ]; then
  scratch=true
  shift
fi
[ "$(id -u)" -eq 0 ] || scratch=true
build="$(cd "${1:-$root/build}" && pwd)"
fail() {
  echo "linux-package-test: $*" >&2
  exit 1
}

(cd "$build" && rm -f vibrascend_*.deb vibrascend-*.tar.gz && cpack -G "DEB;TGZ" >cpack.log 2>&1) ||
  { cat "$build/cpack.log" >&2; fail "cpack failed"; }
deb="$(find "$build" -maxdepth 1 -name 'vibrascend_*_amd64.deb' | head -n 1)"
[ -n "$deb" ] || fail "cpack made no vibrascend_*_amd64.deb in $build"
if ! report="$(lintian --fail-on error "$deb" 2>&1)"; then
  echo "$report" >&2
  fail "lintian reports errors in $deb"
fi
echo "$report" | grep -v '^running with root' || true
echo "lintian: no error in $(basename "$deb")"
outside="$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)"
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"
tarball="$(find "$build" -maxdepth 1 -name 'vibrascend-*-linux-x86_64.tar.gz' | head -n 1)"
[ -n "$tarball" ] || fail "cpack made no vibrascend-*-linux-x86_64.tar.gz in $build"
for turtle in manifest.ttl Vibrascend.ttl presets.ttl; do
  dpkg-deb -c "$deb" | awk '{print $6}' | grep -x "\./usr/lib/lv2/Vibrascend.lv2/$turtle" >/dev/null ||
    fail "$(basename "$deb") has no /usr/lib/lv2/Vibrascend.lv2/$turtle"
  tar tzf "$tarball" | grep -x "[^/]*/lib/lv2/Vibrascend.lv2/$turtle" >/dev/null ||
    fail "$(basename "$tarball") has no lib/lv2/Vibrascend.lv2/$turtle"
done
echo "the LV2 bundle is in both packages"
# The plug-in URI the build wrote into the LV2 bundle.
lv2_uri="$(sed -n 's/^VIBRASCEND_PLUGIN_URL:[A-Z]*=//p' "$build/CMakeCache.txt")"
[ -n "$lv2_uri" ] || fail "no VIBRASCEND_PLUGIN_URL in $build/CMakeCache.txt"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && "$build/tools/vibrascend-render" demo --plugin "$build/Vibrascend.vst3" >/dev/null && mv vibrascend-demo.wav built.wav)

if $scratch; then
  dpkg-deb -x "$deb" "$work/root"
  render="$build/tools/vibrascend-render"
  bundle="$work/root/usr/lib/vst3/Vibrascend.vst3"
else
  package="$(dpkg-deb -f "$deb" Package)"
  ! dpkg-query -W "$package" >/dev/null 2>&1 || fail "$package is installed already"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  dpkg-query -L "$package" >"$work/files"
  render=/usr/bin/vibrascend-render
  bundle=/usr/lib/vst3/Vibrascend.vst3
fi
(cd "$work" && "$render" demo --plugin "$bundle" >/dev/null)
cmp "$work/built.wav" "$work/vibrascend-demo.wav" || fail "the packaged plug-in renders differently from the built one"
"$render" moduleinfo --plugin "$bundle" | cmp - "$bundle/Contents/Resources/moduleinfo.json" ||
  fail "the packaged moduleinfo.json is not what the packaged plug-in answers"
echo "rendered through $bundle: identical to the build's"

if ! $scratch; then
  lv2_bundle=/usr/lib/lv2/Vibrascend.lv2
  [ -f "$lv2_bundle/manifest.ttl" ] || fail "the package installed no $lv2_bundle/manifest.ttl"
  # lv2info searches the system's LV2 folders, /usr/lib/lv2 among them.
  info="$(env -u LV2_PATH lv2info "$lv2_uri" 2>&1)" || fail "lv2info does not find $lv2_uri: $info"
  grep -q "Bundle: *file://$lv2_bundle/" <<<"$info" || fail "lv2info finds $lv2_uri outside $lv2_bundle: $info"
  echo "lv2info finds $lv2_uri in $lv2_bundle"
fi

if ! $scratch; then
  DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq "$package" >/dev/null
  ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed || fail "$package is still installed"
  left="$(while read -r file; do if [ -f "$file" ]; then echo "$file"; fi; done <"$work/files")"
  [ -z "$left" ] || fail "removing $package left $left"
  [ ! -e "$bundle" ] || fail "removing $package left $bundle"
  [ ! -e "$lv2_bundle" ] || fail "removing $package left $lv2_bundle"
  echo "removed: no file of $package left"
fi
