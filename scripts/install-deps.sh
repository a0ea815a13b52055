#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  build-essential cmake ninja-build clang clang-format
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libgl-dev libxkbcommon-dev
  zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
