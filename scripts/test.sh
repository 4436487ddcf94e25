#!/usr/bin/env bash
# Runs every test: installs what is missing, checks the sources' formatting, then builds and tests
# the native debug build, prints the add-on's line and branch coverage by those tests, runs the demo's
# hostsim runs under valgrind, tests the same suite under the address and undefined-behaviour
# sanitizers, runs every fuzz target for a fixed number of runs, and builds the Windows target in the
# host's C++ ABI and runs its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

stage() {
    echo "== $1 ($(date +%H:%M:%S)) =="
}

stage "formatting (clang-format)"
bash scripts/check-format.sh

stage "native build (dev)"
# The add-on's own objects carry gcov's counters in this build, so that its tests measure coverage.
cmake --preset dev -DVELD_ADDON_COVERAGE=ON >/dev/null
cmake --build --preset dev
stage "native tests (dev)"
bash scripts/addon-coverage.sh --reset build/dev
# The module's import table test reads the Windows build's module, made further down: it runs there.
ctest --preset dev -E '^PeModuleTests$'
stage "the add-on's coverage by the native tests (dev)"
bash scripts/addon-coverage.sh build/dev
stage "the demo's hostsim runs under valgrind (dev)"
bash scripts/valgrind.sh

stage "sanitizer build (asan)"
cmake --preset asan >/dev/null
cmake --build --preset asan
stage "sanitizer tests (asan)"
ctest --preset asan

stage "fuzz build (fuzz)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
stage "fuzzers, a fixed number of runs each (fuzz)"
FUZZ_NO_BUILD=1 bash scripts/fuzz.sh ci

# The Windows target, in the host's C++ ABI (clang in MSVC mode with the MSVC STL; its resources
# compiled by the dev build's ResConv), and every test program run under Wine, with one wine server
# around the run. A program that fails
# there is run once more (the preset's repeat until-pass:2), and its failed attempt is printed: now
# and then Wine fails a process start that Windows would not (CreateProcessW answering
# ERROR_INTERNAL_ERROR, or a start that hangs for a minute and then fails). The native, sanitizer and
# valgrind stages run each test once.
stage "Windows cross build (windows)"
cmake --preset windows >/dev/null
cmake --build --preset windows
stage "Windows tests under Wine (windows)"
ctest --preset windows
# The module's binary interface as a Windows host sees it, read natively (the names are decoded by
# llvm-undname, a program of this machine) from the module that the Windows build made.
stage "the Windows module's imports, read natively (dev)"
ctest --preset dev -R '^PeModuleTests$'
stage "done"
