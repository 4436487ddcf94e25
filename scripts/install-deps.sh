#!/usr/bin/env bash
# Installs the Debian packages that the demo (`install-deps.sh demo`) or everything, the tests
# included (`install-deps.sh`, or `install-deps.sh test`), needs, and only those that are missing, so
# that running it again costs nothing. Needs root (or sudo) on Debian 12.
set -euo pipefail

set_name=${1:-test}
if [ "$set_name" != demo ] && [ "$set_name" != test ]; then
    echo "usage: install-deps.sh [demo|test]" >&2
    exit 64
fi

# The demo builds hostsim, the add-on and VeldEngineer.exe with the dev preset, whose configuration
# finds GoogleTest too, and prints its report with python3.
demo_packages=(
    cmake ninja-build g++ binutils libgtest-dev libgmock-dev nlohmann-json3-dev zlib1g-dev python3
)

test_packages=(
    # native build and tests
    "${demo_packages[@]}" libbenchmark-dev clang-format
    # memory checks of the hostsim runs (scripts/valgrind.sh)
    valgrind
    # libFuzzer targets (the fuzz preset): clang and its fuzzer and sanitizer runtimes
    clang libclang-rt-14-dev
    # independent readers of the SAF workbooks the writer makes (tests)
    python3-openpyxl libreoffice-calc-nogui
    # Windows cross build, and Wine to run it
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64
)

if [ "$set_name" = demo ]; then
    packages=("${demo_packages[@]}")
else
    packages=("${test_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
