#!/usr/bin/env bash
# Builds the fuzz preset and runs libFuzzer targets on their seed corpora.
#
#   scripts/fuzz.sh --list                        the targets
#   scripts/fuzz.sh TARGET [libFuzzer options]    one target, e.g. registry_store -max_total_time=600
#   scripts/fuzz.sh all [libFuzzer options]       every target in turn, e.g. all -runs=20000
#   scripts/fuzz.sh ci                            every target for its fixed number of runs (test.sh)
#
# TARGET is the corpus folder's name (Tests/Fuzz/corpus/TARGET, program build/fuzz/bin/fuzz_TARGET).
# New inputs go to build/fuzz/corpus/TARGET and crashes to build/fuzz/artifacts/TARGET/, so the seeds
# in the repository change only when someone copies a find there on purpose. Without options a target
# runs until it finds something or is stopped. Set FUZZ_NO_BUILD=1 to skip the build.
set -euo pipefail
cd "$(dirname "$0")/.."

seeds=Tests/Fuzz/corpus
build=build/fuzz

targets() {
    find "$seeds" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort
}

if [ $# -eq 0 ]; then
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
if [ "$1" = "--list" ]; then
    targets
    exit 0
fi

# Runs per target for `ci`: about ten seconds each on one core of the CI machine, chosen from the
# executions per second that each target reaches (the workbook reader inflates zip members and is
# the slowest), so that the whole stage stays within a few minutes.
declare -A ci_runs=(
    [channel_unistring]=60000 [dialog_layout]=150000 [icon_image]=150000 [project_document]=40000
    [registry_store]=100000 [res_file]=100000 [script]=100000 [translator_store]=80000
    [workbook]=6000 [workbook_xml]=40000
)

which=$1
shift
ci=0
if [ "$which" = "ci" ]; then
    ci=1
    which=all
fi
if [ "$which" = "all" ]; then
    selected=$(targets)
else
    if [ ! -d "$seeds/$which" ]; then
        echo "fuzz.sh: no target \"$which\"; the targets are:" >&2
        targets >&2
        exit 2
    fi
    selected=$which
fi

if [ "${FUZZ_NO_BUILD:-0}" != "1" ]; then
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

for target in $selected; do
    program="$build/bin/fuzz_$target"
    if [ ! -x "$program" ]; then
        echo "fuzz.sh: $program was not built" >&2
        exit 1
    fi
    corpus="$build/corpus/$target"
    options=("$@")
    if [ "$ci" = "1" ]; then
        # The same work on every run: a fresh corpus grown from the seeds, a fixed seed, no hangs.
        corpus="$build/ci-corpus/$target"
        rm -rf "$corpus"
        options=(-runs="${ci_runs[$target]:-20000}" -seed=1 -timeout=30)
    fi
    mkdir -p "$corpus" "$build/artifacts/$target"
    echo "== fuzz_$target ($(date +%H:%M:%S)) =="
    # -print_final_stats: runs and executions per second, for the record.
    "$program" -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" "${options[@]}" \
        "$corpus" "$seeds/$target"
done
