#!/usr/bin/env bash
# Runs every test: installs what is missing, builds and tests the native debug build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

echo "== native build (dev) =="
cmake --preset dev >/dev/null
cmake --build --preset dev
echo "== native tests (dev) =="
ctest --preset dev
