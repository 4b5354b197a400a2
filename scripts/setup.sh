#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and benchmark.
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config git
  clang libclang-rt-dev
  juce-modules-source-data
  libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libx11-dev libxext-dev libxtst-dev xvfb x11-utils
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libpixman-1-dev
  python3 python3-cairo
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
