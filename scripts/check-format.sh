#!/usr/bin/env bash
# Fails when a C or C++ file of the project's own differs from what clang-format makes of it
# (.clang-format at the root). Vendored code under third_party/ keeps its own style.
# `check-format.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# Tracked and new files alike, as they stand in the work tree (a file deleted but not yet staged is gone).
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.c' '*.h' '*.cpp' '*.hpp' |
    grep -v '^third_party/' | sort -u | while read -r file; do [ -f "$file" ] && echo "$file"; done)
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run -Werror "${files[@]}"
    echo "formatting: ${#files[@]} files as .clang-format says"
fi
