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
# add-on's own part of it. The menu calls are the inclusive cost of hostsim's PickMenu: the open is
# PickMenu(open) - PickMenu(chosen), the add-on's own part that minus what the open spends in the
# host's 'SAVE' (HostServices::Automate), in the application launcher and in the UI driver's waits
# for script lines (ScreenDriver::NextAction), each again open run minus chosen run, as hostsim
# --timings takes them apart.
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

functions=(HostSim::HostSession::PickMenu HostSim::HostServices::Automate
           IO::Process::ApplicationLauncher::Launch HostSim::ScreenDriver::NextAction)

# Prints "TOTAL ADDON MENUS SAVE LAUNCHER UIWAIT" for one run of script $2 in fresh folder $1.
count_run() {
    local folder="$scratch/$1" script="$2"
    mkdir -p "$folder/Export" "$folder/VELD Engineer 23"
    cp "$veld" "$folder/VELD Engineer 23/VeldEngineer.exe"
    "$hostsim" registry --home "$folder/home" set-string \
        'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\23.1' InstallDir "$folder/VELD Engineer 23"
    printf '%b' "$script" >"$folder/script.txt"
    valgrind --tool=callgrind --callgrind-out-file="$folder/callgrind.out" \
        "$hostsim" --home "$folder/home" --script "$folder/script.txt" \
        --special-folder "7=$folder/Export" --model "$source_root/World/Host/HostSim/Demo/DemoBuilding.json" \
        "$addon" >"$folder/valgrind.log" 2>&1 || {
        echo "measure.sh: the $1 run failed:" >&2
        cat "$folder/valgrind.log" >&2
        exit 1
    }
    echo "$(python3 "$here/split_counts.py" "$folder/callgrind.out" "$(basename "$addon")")" \
        "$(python3 "$here/inclusive_costs.py" "$folder/callgrind.out" "${functions[@]}")"
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

declare -A menus saves launchers waits
measure() {
    local name="$1" script="$2"
    local total addon_part menu save launcher wait
    read -r total addon_part menu save launcher wait < <(count_run "$name" "$script")
    menus[$name]="$menu"
    saves[$name]="$save"
    launchers[$name]="$launcher"
    waits[$name]="$wait"
    rm -f "$here/$name.txt.new"
    check "$name" total "$total"
    check "$name" addon "$addon_part"
    if [ "$name" = open ]; then
        local open_cost=$((menu - ${menus[chosen]})) open_save=$((save - ${saves[chosen]}))
        local open_launcher=$((launcher - ${launchers[chosen]})) open_wait=$((wait - ${waits[chosen]}))
        local own=$((open_cost - open_save - open_launcher - open_wait))
        check open menu "$open_cost"
        check open own "$own"
        echo "open: $open_cost instructions in the menu call, the add-on's own $own" \
            "($(python3 -c "print(f'{100.0 * $own / $open_cost:.1f}')") %); 'SAVE' $open_save," \
            "launcher $open_launcher, UI waits $open_wait"
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
