#!/usr/bin/env bash
# Instruction counts (callgrind's Ir) of whole hostsim runs with the add-on, compared with the counts
# recorded beside this script. A count more than 10 % above its record is reported and the script
# exits 1; --record writes the new counts as the records instead.
#
#   Bench/callgrind/measure.sh BUILD_FOLDER [--record]
#
# Runs (each in a fresh data folder, VELD Engineer registered, the demo building as the model):
#   open         - the translator chosen in the export settings dialog, then one successful open
#                  (the workbook written, VELD Engineer started; the child itself is not counted)
#   open-stubbed - the same with 'SAVE' answered 0 at once and the launcher answering 0 without
#                  starting anything: the add-on's successful path without the host's work
#   chosen       - the translator chosen, then quit (what both opens include)
#   settings     - the export settings dialog opened on the three default translators and closed
#   baseline     - hostsim with the add-on, quitting at once
# Each record file holds the total and the add-on module's self cost (its own code only: its calls
# into the host's libraries count for the libraries). The add-on's share of an open is
# (open-stubbed - chosen) / (open - chosen), printed at the end.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: measure.sh BUILD_FOLDER [--record]}"
record="${2:-}"
source_root="$(cd "$here/../.." && pwd)"
hostsim="$build/bin/hostsim"
addon="$build/bin/VELDEngineerConnection.apx"
veld="$build/bin/VeldEngineer.exe"
[ -x "$hostsim" ] && [ -f "$addon" ] && [ -x "$veld" ] || {
    echo "measure.sh: build hostsim, VELDEngineerConnection and VeldEngineer in $build first" >&2
    exit 64
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Prints "TOTAL ADDON" for one run of script $2 in fresh folder $1, hostsim options after that.
count_run() {
    local folder="$scratch/$1" script="$2"
    shift 2
    mkdir -p "$folder/Export" "$folder/VELD Engineer 23"
    cp "$veld" "$folder/VELD Engineer 23/VeldEngineer.exe"
    "$hostsim" registry --home "$folder/home" set-string \
        'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\23.1' InstallDir "$folder/VELD Engineer 23"
    printf '%b' "$script" >"$folder/script.txt"
    valgrind --tool=callgrind --callgrind-out-file="$folder/callgrind.out" \
        "$hostsim" --home "$folder/home" --transcript "$folder/transcript.jsonl" --script "$folder/script.txt" \
        --special-folder "7=$folder/Export" --model "$source_root/Host/HostSim/Demo/DemoBuilding.json" \
        "$@" "$addon" >"$folder/valgrind.log" 2>&1 || {
        echo "measure.sh: the $1 run failed:" >&2
        cat "$folder/valgrind.log" >&2
        exit 1
    }
    python3 "$here/split_counts.py" "$folder/callgrind.out" "$(basename "$addon")"
}

status=0
declare -A totals
measure() {
    local name="$1" script="$2"
    shift 2
    read -r total addon_part < <(count_run "$name" "$script" "$@")
    totals[$name]="$total"
    local file="$here/$name.txt"
    if [ "$record" = "--record" ]; then
        printf 'total %s\naddon %s\n' "$total" "$addon_part" >"$file"
        echo "$name: total $total, add-on $addon_part (recorded)"
        return
    fi
    local recorded_total recorded_addon
    recorded_total="$(awk '$1 == "total" { print $2 }' "$file")"
    recorded_addon="$(awk '$1 == "addon" { print $2 }' "$file")"
    for pair in "total $total $recorded_total" "add-on $addon_part $recorded_addon"; do
        set -- $pair
        local growth
        growth="$(python3 -c "print(f'{100.0 * ($2 - $3) / $3:+.1f}')")"
        if python3 -c "import sys; sys.exit(0 if $2 > $3 * 1.10 else 1)"; then
            echo "$name $1: $2 instructions, $growth % against the recorded $3: GREW MORE THAN 10 %"
            status=1
        else
            echo "$name $1: $2 instructions, $growth % against the recorded $3"
        fi
    done
}

choose='menu 32500 2\nselect 4 2\nclick 1\n'
measure open "${choose}menu 32500 1\nclick 1\nquit\n"
measure open-stubbed "${choose}menu 32500 1\nclick 1\nquit\n" --fail HostAutomate=0 --fail launcher=0
measure chosen "${choose}quit\n"
measure settings 'menu 32500 2\nclose 2\nquit\n'
measure baseline 'quit\n'
python3 -c "
open_cost = ${totals[open]} - ${totals[chosen]}
own = ${totals[open-stubbed]} - ${totals[chosen]}
print(f'open: {open_cost} instructions, the add-on\'s own {own} ({100.0 * own / open_cost:.1f} %)')"
exit "$status"
