#!/usr/bin/env bash
# Installs what is needed, builds, makes a demo data folder with a synthetic
# archive (first run only) and starts the program on it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/install-deps.sh"
"$ROOT/scripts/build.sh" "$ROOT/build"
DEMO="$ROOT/demo-data"
mkdir -p "$DEMO"
if [ ! -s "$DEMO/Brantlee_6x45.ldr" ]; then
  "$ROOT/build/Brantlee_6x45-cli" --data "$DEMO" draws demo --count 2000 --seed 45
fi
exec "$ROOT/build/Brantlee_6x45" --data "$DEMO" "$@"
