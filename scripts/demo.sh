#!/usr/bin/env bash
# The main job: the whole "Open in VELD Engineer..." story on the demo building, in a fresh data
# folder (./demo) where an installation of VELD Engineer is registered. Three hostsim runs on the
# same project: the first finds no translator and lets the user choose one, the second writes the
# workbook, starts VELD Engineer and shows the information dialog (ticking "Don't show this dialog
# again."), the third does the same without the dialog. Then a short account of what was written and
# started. DEMO_BUILD_DIR picks another build folder than build/dev.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${DEMO_BUILD_DIR:-build/dev}
bash scripts/install-deps.sh demo
echo "Building hostsim, VeldEngineer.exe and the add-on in $build ..."
log=$(mktemp)
if ! { cmake --preset dev -B "$build" && cmake --build "$build" --target hostsim VeldEngineer VELDEngineerConnection; } >"$log" 2>&1; then
    cat "$log"
    exit 1
fi
rm -f "$log"

bin=$build/bin
demo=$PWD/demo
rm -rf "$demo"
mkdir -p "$demo/home" "$demo/VELD Engineer"
cp "$bin/VeldEngineer.exe" "$demo/VELD Engineer/"
"$bin/hostsim" registry --home "$demo/home" set-string \
    'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\2025' InstallDir "$demo/VELD Engineer"

run() { # NUMBER SCRIPT [hostsim options]
    local number=$1 script=$2
    shift 2
    echo
    echo "=== $(sed -n '1s/^# //p' "scripts/$script")"
    "$bin/hostsim" --home "$demo/home" --project "$demo/project.json" --transcript "$demo/run$number.jsonl" \
        --script "scripts/$script" "$@" "$bin/VELDEngineerConnection.apx" 2>&1
}

run 1 demo-1-no-translator.script --model World/Host/HostSim/Demo/DemoBuilding.json
run 2 demo-2-open.script
run 3 demo-3-open-again.script

# VELD Engineer runs on its own; wait (up to a minute) until it has recorded both launches.
launches="$demo/VELD Engineer/VeldEngineer.launches.jsonl"
for _ in $(seq 600); do
    [ "$(wc -l <"$launches" 2>/dev/null || echo 0)" -ge 2 ] && break
    sleep 0.1
done
echo
echo "=== What was written and started"
python3 scripts/demo-report.py "$demo/run1.jsonl" "$demo/run2.jsonl" "$demo/run3.jsonl" "$launches"
echo
echo "Everything is in $demo: the project, the data folder (home/Export holds the workbook), the transcripts."
