#!/usr/bin/env bash
# build.sh [BUILD_DIR] [extra cmake args...]: configures and builds.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
shift || true
cmake -S "$ROOT" -B "$BUILD" -G Ninja "$@"
cmake --build "$BUILD" -j"$(nproc)"
