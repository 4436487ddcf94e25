#!/usr/bin/env bash
# Fails when a C or C++ file of the project's own differs from what clang-format makes of it
# (.clang-format at the root). Vendored code under third_party/ keeps its own style.
# `check-format.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.c' '*.h' '*.cpp' '*.hpp' | grep -v '^third_party/')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run -Werror "${files[@]}"
    echo "formatting: ${#files[@]} files as .clang-format says"
fi
