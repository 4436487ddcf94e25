#!/usr/bin/env bash
# Makes the release dist/VELDEngineerConnection-VERSION/ of the checked-out commit: the signed add-on
# module, the signed MSI, the module's symbols as a symbol store, the licences of everything in the
# module and the installer, an SPDX 2.3 bill of materials and SHA256SUMS.
#
# It builds the module and the installer twice, from two checkouts of the commit in two different
# folders (this one, and a copy of the commit made by git archive in build/reproduce/source), each in
# build/windows-release of its checkout, without a compiler cache, and stops unless both give byte-identical
# modules and PDBs before signing, identical signed modules, and MSI packages of identical tables and
# files (only the package code and the dates of the MSI's summary information differ, as wixl makes
# them at each run). The release is of the commit: uncommitted changes stop it.
#
# Signing takes the certificate the environment names (VELD_SIGN_PFX and VELD_SIGN_PFX_PASSWORD, or
# VELD_SIGN_CERT and VELD_SIGN_KEY: Installer/sign.sh); else one test certificate made for both
# builds. Signatures carry the commit's time (SOURCE_DATE_EPOCH).
set -euo pipefail
cd "$(dirname "$0")/.."

# Two compilations, never one and a cached copy of it.
export CCACHE_DISABLE=1
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
python=/usr/bin/python3
root=$PWD
version=$(sed -n 's/^project(VELDEngineerConnection VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
copy=build/reproduce/source
checkouts=(. "$copy")
builds=(build/windows-release "$copy/build/windows-release")
certificates=build/release-signing
dist=dist/VELDEngineerConnection-$version

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release.sh: uncommitted changes; a release is made of a commit" >&2
    exit 1
fi
echo "== ResConv for the resources (dev build)"
cmake --preset dev >/dev/null
cmake --build --preset dev --target ResConv >/dev/null
echo "== $copy: a second checkout of $(git rev-parse --short HEAD) in another folder"
rm -rf "$copy" && mkdir -p "$copy"
git archive HEAD | tar -x -C "$copy"
# The two build folders belong to this script: only ever built here, without a compiler cache. Each
# lies in build/ of its checkout: the compiler is given the sources by their path from there
# (cmake/relative-source-compile.sh).
for checkout in "${checkouts[@]}"; do
    echo "== $checkout/build/windows-release: the module and its installer"
    (cd "$checkout" && cmake --preset windows -B build/windows-release -DVELD_TEST_CERTIFICATE_DIR="$root/$certificates" \
        -DRESCONV_EXECUTABLE="$root/build/dev/bin/ResConv" >/dev/null)
    cmake --build "$checkout/build/windows-release" --target Installer | tail -n 3
done

echo "== reproducibility"
a=${builds[0]} b=${builds[1]}
same=1
for file in bin/VELDEngineerConnection.apx bin/VELDEngineerConnection.pdb shipping/VELDEngineerConnection.apx; do
    if cmp -s "$a/$file" "$b/$file"; then
        echo "identical: $file  $(sha256sum "$a/$file" | cut -d' ' -f1)"
    else
        echo "DIFFERENT: $file"
        same=0
    fi
done
msi=shipping/VELDEngineerConnection-$version.msi
for build in "$a" "$b"; do
    contents="$build/msi-contents"
    rm -rf "$contents" && mkdir -p "$contents/tables" "$contents/files"
    # msiinfo export writes a table's streams (the Icon table's) into TABLE/ of the folder it runs in.
    for table in $(msiinfo tables "$build/$msi"); do
        (cd "$contents/tables" && msiinfo export "$root/$build/$msi" "$table" >"$table.idt")
    done
    msiextract -C "$contents/files" "$build/$msi" >/dev/null
done
# The summary information stream is the one part that differs, and is expected to.
rm -f "$a/msi-contents/tables/_SummaryInformation.idt" "$b/msi-contents/tables/_SummaryInformation.idt"
if diff -r "$a/msi-contents" "$b/msi-contents" >/dev/null; then
    echo "identical: $msi tables ($(ls "$a/msi-contents/tables" | wc -l)) and files"
    echo "  (not byte-identical: wixl gives each package a new package code and the run's dates)"
else
    echo "DIFFERENT: $msi contents"
    diff -r "$a/msi-contents" "$b/msi-contents" | head -20
    same=0
fi
[ "$same" = 1 ] || { echo "release.sh: the two builds differ; nothing released" >&2; exit 1; }

echo "== $dist"
rm -rf "$dist"
mkdir -p "$dist/licences"
cp "$a/shipping/VELDEngineerConnection.apx" "$a/$msi" "$dist/"
# The store keeps the module as shipped (signed) beside the PDB the build made for it.
cp "$a/bin/VELDEngineerConnection.pdb" "$a/shipping/"
$python scripts/symbol_store.py "$dist/symbols" "$a/shipping/VELDEngineerConnection.apx" >/dev/null
cp Installer/licences/VELD-Engineer-Connection.txt "$dist/licences/"
cp third_party/msvc-stl/LICENSE.txt "$dist/licences/MSVC-STL-LICENSE.txt"
cp third_party/msvc-stl/NOTICE.txt "$dist/licences/MSVC-STL-NOTICE.txt"
$python scripts/sbom.py "$dist" "$version" third_party/msvc-stl/VERSION "$dist/VELDEngineerConnection-$version.spdx.json"
(cd "$dist" && find . -type f ! -name SHA256SUMS | sort | sed 's|^\./||' | xargs sha256sum >SHA256SUMS)
cat "$dist/SHA256SUMS"
