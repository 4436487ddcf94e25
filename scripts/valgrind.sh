#!/usr/bin/env bash
# Runs the demo's three hostsim runs, and a few cycles of the whole module lifecycle, under valgrind's
# memcheck: any invalid access, use of uninitialised memory or leak (of hostsim, the host libraries or
# the add-on) fails the run. Nothing is suppressed. Uses the dev build (BUILD overrides it).
set -euo pipefail
cd "$(dirname "$0")/.."

command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }
build=${BUILD:-build/dev}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/VELD Engineer" "$work/Export"
cp "$bin/VeldEngineer.exe" "$work/VELD Engineer/"
"$bin/hostsim" registry --home "$work/home" set-string \
    'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\2025' InstallDir "$work/VELD Engineer"

memcheck() { # NAME [hostsim options]
    local name=$1
    shift
    echo "-- $name"
    # VeldEngineer.exe, which the add-on starts, is a program of its own and is not traced.
    if ! valgrind --quiet --error-exitcode=1 --leak-check=full --show-leak-kinds=definite,indirect,possible \
        --errors-for-leak-kinds=definite,indirect,possible --log-file="$work/$name.valgrind" \
        "$bin/hostsim" --home "$work/home" --project "$work/project.json" --transcript "$work/$name.jsonl" \
        "$@" "$bin/VELDEngineerConnection.apx" >"$work/$name.out" 2>&1; then
        echo "valgrind found errors in $name:"
        cat "$work/$name.valgrind" "$work/$name.out"
        exit 1
    fi
}

memcheck demo-1 --script scripts/demo-1-no-translator.script --model World/Host/HostSim/Demo/DemoBuilding.json \
    --special-folder "7=$work/Export"
memcheck demo-2 --script scripts/demo-2-open.script --special-folder "7=$work/Export"
memcheck demo-3 --script scripts/demo-3-open-again.script --special-folder "7=$work/Export"
# A run that quietly did less would be clean too: the open runs must have saved and started.
for name in demo-2 demo-3; do
    if ! grep -q '"event":"launch".*"result":"started"' "$work/$name.jsonl"; then
        echo "$name started no VELD Engineer under valgrind"
        exit 1
    fi
done
# VELD Engineer usually runs on after the host has quit; the host's teardown must then leave nothing
# behind either. The program installed here holds until the run is over.
mkdir -p "$work/Lingering"
cat >"$work/Lingering/VeldEngineer.exe" <<SCRIPT
#!/bin/sh
i=0
while [ -d "$work/Lingering" ] && [ ! -e "$work/release" ] && [ \$i -lt 600 ]; do sleep 0.1; i=\$((i + 1)); done
SCRIPT
chmod +x "$work/Lingering/VeldEngineer.exe"
"$bin/hostsim" registry --home "$work/home" set-string \
    'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\2025' InstallDir "$work/Lingering"
memcheck outlived --script scripts/demo-3-open-again.script --special-folder "7=$work/Export"
touch "$work/release"
grep -q '"event":"launch".*"result":"started"' "$work/outlived.jsonl" ||
    { echo "outlived started no program under valgrind"; exit 1; }
printf 'menu 32500 2\nclick 2\nquit\n' >"$work/cycles.script"
memcheck cycles --script "$work/cycles.script" --cycles 5
echo "valgrind: clean"
