#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need:
# the list in scripts/debian-packages.txt, one package a line ('#' starts a
# comment). .ci/run checks after the build that the list is complete.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
mapfile -t PACKAGES < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$ROOT/scripts/debian-packages.txt" | grep -v '^$')
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
