#!/usr/bin/env bash
# The add-on's line and branch coverage, file by file, from what the native tests ran in a build
# configured with VELD_ADDON_COVERAGE=ON (scripts/test.sh makes the dev build so and calls this after
# its tests). Branches that the compiler adds for exceptions only, and those on lines without code of
# their own, are left out of the branch figures: the add-on throws nothing itself.
#   addon-coverage.sh --reset [BUILD]   forget the counts of earlier runs
#   addon-coverage.sh [BUILD]           print the summary (BUILD defaults to build/dev)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --reset ]; then
    find "${2:-build/dev}" -name '*.gcda' -delete
    exit 0
fi
build=${1:-build/dev}
if ! find "$build" -name '*.gcda' -path '*VELDAddOnCore*' | grep -q .; then
    echo "addon-coverage.sh: no coverage counts in $build: configure it with -DVELD_ADDON_COVERAGE=ON and run its tests" >&2
    exit 1
fi
options=(--root . --filter 'Sources/AddOn/' --exclude-throw-branches --exclude-unreachable-branches)
gcovr "${options[@]}" "$build"
gcovr "${options[@]}" --branches "$build"
