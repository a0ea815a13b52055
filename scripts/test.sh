#!/usr/bin/env bash
# Installs what is needed, builds and runs every test (GUI tests offscreen).
# With --sanitize the same suite runs under AddressSanitizer and UBSan.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/install-deps.sh"
BUILD="$ROOT/build"
ARGS=()
if [ "${1:-}" = "--sanitize" ]; then
  BUILD="$ROOT/build-asan"
  ARGS=(-DBRANTLEE_SANITIZE=ON -DBRANTLEE_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi
"$ROOT/scripts/build.sh" "$BUILD" "${ARGS[@]}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
