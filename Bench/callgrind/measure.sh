#!/usr/bin/env bash
# Instruction counts (callgrind's Ir) of whole hostsim runs with the add-on, compared with the counts
# recorded beside this script. A count more than 10 % above its record is reported and the script
# exits 1; --record writes the new counts as the records instead.
#
#   Bench/callgrind/measure.sh BUILD_FOLDER [--record]
#
# Every run is quiet, as a real host is: no transcript and no --fail rule, so hostsim installs no
# library call monitor and records nothing. Runs (each in a fresh data folder, VELD Engineer
# registered, the demo building as the model):
#   chosen   - the translator chosen in the export settings dialog, then a first open whose
#              information dialog is ticked away, then quit
#   open     - the same, then one more successful open, as the benchmark times it: the workbook
#              written, VELD Engineer started (the child itself is not counted), no dialog
#              (what the open run holds besides the chosen run)
#   settings - the export settings dialog opened on the three default translators and closed
#   baseline - hostsim with the add-on, quitting at once
# Each record file holds the total and the add-on module's self cost (its own code only: its calls
# into the host's libraries count for the libraries); open.txt also the open's menu call and the
# add-on's own part of it, baseline.txt the module's start and the add-on's own part of it. The menu
# calls are the inclusive cost of hostsim's PickMenu: the open is PickMenu(open) - PickMenu(chosen);
# the start is the inclusive cost of HostSession::LoadAddOn (load, checks, describe, register, start).
#
# The add-on's own part, as hostsim --timings takes it apart: the baseline, chosen and open runs once
# more, counted only inside the add-on's start and menu commands and not inside the host's work for it
# (every host function table entry, which holds the menus registered, the SAF add-on's answers and
# 'SAVE', and the application launcher): callgrind's --toggle-collect switches counting on at the
# start and the menu call and off again inside each of those. What is left is the module's own code
# and what it reaches itself, printed by the object the code lies in (object_counts.py): the module,
# hostsim, the host libraries, the C++ runtime, the C library and dynamic linker. The open's is again
# open run minus chosen run; the UI driver's waits for script lines are in both alike.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: measure.sh BUILD_FOLDER [--record]}"
record="${2:-}"
source_root="$(cd "$here/../.." && pwd)"
hostsim="$build/bin/hostsim"
# VELD_BENCH_ADDON: another build of the module, counted with this build's host (to compare two builds).
addon="${VELD_BENCH_ADDON:-$build/bin/VELDEngineerConnection.apx}"
veld="$build/bin/VeldEngineer.exe"
[ -x "$hostsim" ] && [ -f "$addon" ] && [ -x "$veld" ] || {
    echo "measure.sh: build hostsim, VELDEngineerConnection and VeldEngineer in $build first" >&2
    exit 64
}

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

functions=(HostSim::HostSession::PickMenu HostSim::HostSession::LoadAddOn)
own_toggles=(--toggle-collect='HostSim::HostSession::LoadAddOn*' --toggle-collect='HostSim::HostSession::PickMenu*'
             --toggle-collect='HostSim::(anonymous namespace)::*Slot(*'
             --toggle-collect='IO::Process::ApplicationLauncher::Launch(*')

# Runs script $2 in fresh folder $1 under callgrind, with the further valgrind options after it;
# the output is $1/callgrind.out.
callgrind_run() {
    local folder="$scratch/$1" script="$2"
    shift 2
    mkdir -p "$folder/Export" "$folder/VELD Engineer 23"
    cp "$veld" "$folder/VELD Engineer 23/VeldEngineer.exe"
    "$hostsim" registry --home "$folder/home" set-string \
        'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\23.1' InstallDir "$folder/VELD Engineer 23"
    printf '%b' "$script" >"$folder/script.txt"
    valgrind --tool=callgrind --callgrind-out-file="$folder/callgrind.out" "$@" \
        "$hostsim" --home "$folder/home" --script "$folder/script.txt" \
        --special-folder "7=$folder/Export" --model "$source_root/World/Host/HostSim/Demo/DemoBuilding.json" \
        "$addon" >"$folder/valgrind.log" 2>&1 || {
        echo "measure.sh: the $1 run failed:" >&2
        cat "$folder/valgrind.log" >&2
        exit 1
    }
}

# Prints "TOTAL ADDON MENUS START" for one run of script $2 in fresh folder $1.
count_run() {
    callgrind_run "$1" "$2"
    local out="$scratch/$1/callgrind.out"
    echo "$(python3 "$here/split_counts.py" "$out" "$(basename "$addon")")" \
        "$(python3 "$here/inclusive_costs.py" "$out" "${functions[@]}")"
}

# The add-on's own part of run $1 (script $2), by object: "GROUP COUNT" lines; the file stays as
# $scratch/$1-own/callgrind.out.
count_own() {
    callgrind_run "$1-own" "$2" "${own_toggles[@]}"
}

status=0
# Checks one count against the record file's line of that name, or keeps it for --record.
check() {
    local name="$1" what="$2" count="$3" file="$here/$1.txt"
    if [ "$record" = "--record" ]; then
        printf '%s %s\n' "$what" "$count" >>"$file.new"
        return
    fi
    local recorded growth
    recorded="$(awk -v what="$what" '$1 == what { print $2 }' "$file")"
    if [ -z "$recorded" ]; then
        echo "$name $what: $count instructions, no record"
        return
    fi
    growth="$(python3 -c "print(f'{100.0 * ($count - $recorded) / $recorded:+.1f}')")"
    if python3 -c "import sys; sys.exit(0 if $count > $recorded * 1.10 else 1)"; then
        echo "$name $what: $count instructions, $growth % against the recorded $recorded: GREW MORE THAN 10 %"
        status=1
    else
        echo "$name $what: $count instructions, $growth % against the recorded $recorded"
    fi
}

# Prints the split of one call: "WHAT: N instructions, the add-on's own M (P %): module A, hostsim B,
# host libraries C, C++ runtime D, C library and loader E; the host's work for it H".
report_split() {
    local what="$1" whole="$2" own="$3"
    shift 3
    local -A group
    local kind count
    while read -r kind count; do group[$kind]="$count"; done < <(python3 "$here/object_counts.py" "$@")
    echo "$what: $whole instructions, the add-on's own $own" \
        "($(python3 -c "print(f'{100.0 * $own / $whole:.1f}')") %): module ${group[addon]}," \
        "hostsim ${group[hostsim]}, host libraries ${group[libraries]}, C++ runtime ${group[runtime]}," \
        "C library and loader ${group[system]}; the host's work for it $((whole - own))"
}

# The total of a callgrind output file (the counted part only, under --toggle-collect).
counted() {
    python3 "$here/split_counts.py" "$1" "$(basename "$addon")" | cut -d' ' -f1
}

declare -A menus
measure() {
    local name="$1" script="$2"
    local total addon_part menu start
    read -r total addon_part menu start < <(count_run "$name" "$script")
    menus[$name]="$menu"
    rm -f "$here/$name.txt.new"
    check "$name" total "$total"
    check "$name" addon "$addon_part"
    local folder
    folder="$(cd "$build/bin" && pwd)"
    if [ "$name" = baseline ]; then
        count_own baseline "$script"
        local own_out="$scratch/baseline-own/callgrind.out"
        local own
        own="$(counted "$own_out")"
        check baseline start "$start"
        check baseline start-own "$own"
        report_split "start" "$start" "$own" "$own_out" "$(basename "$addon")" "$folder"
    fi
    if [ "$name" = chosen ]; then
        count_own chosen "$script"
    fi
    if [ "$name" = open ]; then
        count_own open "$script"
        local open_cost=$((menu - ${menus[chosen]}))
        local own_out="$scratch/open-own/callgrind.out" chosen_out="$scratch/chosen-own/callgrind.out"
        local own=$(($(counted "$own_out") - $(counted "$chosen_out")))
        check open menu "$open_cost"
        check open own "$own"
        report_split "open" "$open_cost" "$own" "$own_out" "$(basename "$addon")" "$folder" "$chosen_out"
    fi
    if [ "$record" = "--record" ]; then
        mv "$here/$name.txt.new" "$here/$name.txt"
        echo "$name: recorded $(tr '\n' ' ' <"$here/$name.txt")"
    fi
}

choose='menu 32500 2\nselect 4 2\nclick 1\nmenu 32500 1\ncheck 5 1\nclick 1\n'
measure chosen "${choose}quit\n"
measure open "${choose}menu 32500 1\nquit\n"
measure settings 'menu 32500 2\nclose 2\nquit\n'
measure baseline 'quit\n'
exit "$status"
