#!/usr/bin/env bash
# make-import-library.sh LLVM_SUFFIX DLL OUTPUT.lib [OTHER.dll...]: an import library made from a
# DLL's export table. Wine's own import libraries leave out every C++-decorated name (its
# libmsvcp140.a has none), so the MSVC-ABI build makes its own from the DLLs Wine runs: every exported
# name, forwarded ones included (the loader follows the forward), except those that the OTHER DLLs
# export. Wine's ucrtbase.dll also exports what belongs to vcruntime140.dll on Windows
# (__CxxFrameHandler3, memcpy, the type_info functions, ...); a module must import those from
# vcruntime140.dll, or it would not load on Windows.
set -euo pipefail
suffix="$1"
dll="$2"
output="$3"
shift 3
name="$(basename "$dll")"
def="${output%.lib}.def"

exported_names() {
    "llvm-objdump$suffix" -p "$1" | awk '
        /^Export Table:/ { inTable = 1; next }
        inTable && /^ *Ordinal +RVA +Name/ { inNames = 1; next }
        inNames && NF == 0 { exit }
        inNames {
            # "ordinal rva name" or "ordinal name (forwarded to X.Y)"
            name = ($2 ~ /^0x/) ? $3 : $2
            if (name != "") print name
        }'
}

others="$output.others"
: >"$others"
for other in "$@"; do
    exported_names "$other" >>"$others"
done
{
    echo "LIBRARY $name"
    echo "EXPORTS"
    exported_names "$dll" | grep -vxF -f "$others" | sed 's/^/    /'
} >"$def.tmp"
rm -f "$others"
mv "$def.tmp" "$def"
"llvm-dlltool$suffix" -m i386:x86-64 -d "$def" -l "$output"
