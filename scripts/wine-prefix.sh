# Sourced by the Windows scripts: the Wine programs ($wine, $wineserver) and the Wine prefix of a
# Windows build folder, <build>/wine-prefix, which the build also uses to run the Windows
# vibrascend-render. make_wine_prefix makes it once, without questions: without the .NET and HTML
# engines (which Wine would offer to download in a dialog), under time limits that stop a prefix
# that hangs, and with crashes ending programs at once.
#   source scripts/wine-prefix.sh BUILD_DIR
export WINEPREFIX="$(cd "$1" && pwd)/wine-prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
# Debian keeps the 64-bit loader beside its wrapper script, which would look for a 32-bit Wine too.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine="$(command -v wine64 || command -v wine)"
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"

make_wine_prefix() {
  timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || true
  # A program that crashes must fail at once: with no debugger and no crash dialog its process
  # ends with the exception's code, rather than waiting for an answer or, under Wine's automatic
  # debugger, ending with 0 as if it had passed.
  timeout 60 "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d "" /f >/dev/null 2>&1 || true
  timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
  timeout 120 "$wineserver" -w || "$wineserver" -k 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ] || ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
    echo "making the Wine prefix $WINEPREFIX failed" >&2
    return 1
  fi
}
