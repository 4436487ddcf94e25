#!/usr/bin/env bash
# make-import-library.sh DLL OUTPUT.lib [LLVM_SUFFIX]: an import library made from a DLL's export
# table. Wine's own import libraries leave out every C++-decorated name (its libmsvcp140.a has none),
# so the MSVC-ABI build makes its own from the DLLs Wine runs: every exported name, forwarded ones
# included (the loader follows the forward).
set -euo pipefail
dll="$1"
output="$2"
suffix="${3:--19}"
name="$(basename "$dll")"
def="${output%.lib}.def"
{
    echo "LIBRARY $name"
    echo "EXPORTS"
    "llvm-objdump$suffix" -p "$dll" | awk '
        /^Export Table:/ { inTable = 1; next }
        inTable && /^ *Ordinal +RVA +Name/ { inNames = 1; next }
        inNames && NF == 0 { exit }
        inNames {
            # "ordinal rva name" or "ordinal name (forwarded to X.Y)"
            name = ($2 ~ /^0x/) ? $3 : $2
            if (name != "") print "    " name
        }'
} >"$def.tmp"
mv "$def.tmp" "$def"
"llvm-dlltool$suffix" -m i386:x86-64 -d "$def" -l "$output"
