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

# The demo builds hostsim, the add-on and VeldEngineer.exe (which reads workbooks with zlib and expat)
# with the dev preset, whose configuration finds GoogleTest too, and libedit for line editing at
# hostsim's prompt; it prints its report with python3.
demo_packages=(
    cmake ninja-build g++ binutils libgtest-dev libgmock-dev nlohmann-json3-dev zlib1g-dev libexpat1-dev
    libedit-dev python3
)

test_packages=(
    # native build and tests
    "${demo_packages[@]}" libbenchmark-dev clang-format
    # memory checks of the hostsim runs (scripts/valgrind.sh); the add-on's line and branch coverage
    # of the native tests, summed up file by file
    valgrind gcovr
    # libFuzzer targets (the fuzz preset): clang and its fuzzer and sanitizer runtimes
    clang libclang-rt-14-dev
    # independent readers of the SAF workbooks the writer makes (tests)
    python3-openpyxl libreoffice-calc-nogui
    # a terminal emulator: what a person sees at hostsim's prompt when a started program writes to it
    python3-pyte
    # the Windows target, in the host's C++ ABI: clang in MSVC mode, lld-link and the LLVM tools
    # (import libraries, resources, undecorating names), Wine's C runtime and Win32 headers, and Wine
    # to run it; dpkg-dev unpacks the source packages of zlib and expat (below)
    clang-19 lld-19 llvm-19 libwine-dev dpkg-dev wine wine64
    # shipping the Windows add-on: its installer (wixl; msitools reads and unpacks MSI packages),
    # Authenticode signatures (osslsigncode, openssl for the test certificate), and the PE reader of
    # the hardening, version, symbol and installer tests
    wixl msitools osslsigncode openssl python3-pefile
    # hostsim.exe's windows clicked through under a virtual display, and their pictures
    xvfb xdotool imagemagick
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

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

if [ ${#missing[@]} -ne 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# zlib and expat for the Windows build (tests only) come as source: Debian's source packages, unpacked
# where cmake/MsvcRuntime.cmake looks for them. Source packages need a deb-src entry of their own.
sources=/usr/local/src/veld
if [ "$set_name" = test ]; then
    for source in "zlib zlib-*/zlib.h" "expat expat-*/expat/lib/expat.h"; do
        read -r package unpacked <<<"$source"
        compgen -G "$sources/$unpacked" >/dev/null && continue
        sources_entry=/etc/apt/sources.list.d/veld-deb-src.sources
        if [ ! -f "$sources_entry" ]; then
            printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm" \
                "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
                $sudo tee "$sources_entry" >/dev/null
        fi
        $sudo apt-get update -qq
        $sudo mkdir -p "$sources"
        (cd "$sources" && $sudo apt-get source -qq "$package" >/dev/null 2>&1)
        compgen -G "$sources/$unpacked" >/dev/null || { echo "$package's source package did not unpack" >&2; exit 1; }
    done
fi
