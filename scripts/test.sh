#!/usr/bin/env bash
# Runs every test: installs what is missing, then builds and tests the native debug build and the
# same suite under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

stage() {
    echo "== $1 ($(date +%H:%M:%S)) =="
}

stage "native build (dev)"
cmake --preset dev >/dev/null
cmake --build --preset dev
stage "native tests (dev)"
ctest --preset dev

stage "sanitizer build (asan)"
cmake --preset asan >/dev/null
cmake --build --preset asan
stage "sanitizer tests (asan)"
ctest --preset asan
