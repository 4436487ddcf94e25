#!/usr/bin/env bash
# The README's pictures of the add-on's two dialogs, as hostsim draws them (--snapshots) with the
# add-on's own icons: the export settings dialog (7001, its first translator chosen) and the
# information dialog (7000) after a workbook was written and VELD Engineer started. Runs hostsim once
# on the demo building in a throw-away data folder with a registered VELD Engineer installation, then
# copies the two pictures to docs/pictures/. PICTURES_BUILD_DIR picks another build folder than build/dev.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${PICTURES_BUILD_DIR:-build/dev}
echo "Building hostsim, VeldEngineer.exe and the add-on in $build ..."
log=$(mktemp)
if ! { cmake --preset dev -B "$build" && cmake --build "$build" --target hostsim VeldEngineer VELDEngineerConnection; } >"$log" 2>&1; then
    cat "$log"
    exit 1
fi
rm -f "$log"

bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/VELD Engineer" "$work/snapshots"
cp "$bin/VeldEngineer.exe" "$work/VELD Engineer/"
"$bin/hostsim" registry --home "$work/home" set-string \
    'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\2025' InstallDir "$work/VELD Engineer"

# Export settings: choose the first translator and keep it; then "Open in VELD Engineer...", whose
# information dialog closes with OK.
cat >"$work/pictures.script" <<'SCRIPT'
menu 32500 2
select 4 2
click 1
menu 32500 1
click 1
quit
SCRIPT
if ! "$bin/hostsim" --home "$work/home" --project "$work/project.json" --model World/Host/HostSim/Demo/DemoBuilding.json \
    --snapshots "$work/snapshots" --script "$work/pictures.script" "$bin/VELDEngineerConnection.apx" >"$work/hostsim.log" 2>&1; then
    cat "$work/hostsim.log"
    exit 1
fi

# The last picture of each dialog before it closed: 7001 with the chosen translator shown.
last_picture() { # DIALOG
    find "$work/snapshots" -name "*-$1-*.svg" | sort | tail -n 1
}
mkdir -p docs/pictures
for dialog in 7000 7001; do
    picture=$(last_picture "$dialog")
    if [ -z "$picture" ]; then
        echo "hostsim drew no picture of dialog $dialog" >&2
        exit 1
    fi
    cp "$picture" "docs/pictures/dialog-$dialog.svg"
    echo "docs/pictures/dialog-$dialog.svg from $(basename "$picture")"
done

# VELD Engineer runs on its own; let it finish (up to ten seconds) before its folder goes.
for _ in $(seq 100); do
    [ -s "$work/VELD Engineer/VeldEngineer.launches.jsonl" ] && break
    sleep 0.1
done

# The same dialogs, the main window's menu and every alert of the add-on as Windows draws them:
# hostsim.exe of the Windows build (WINDOWS_BUILD_DIR, build/windows by default), clicked through under a
# virtual display (the alerts other than the warning in a second run, with fault injection).
windows_build=${WINDOWS_BUILD_DIR:-build/windows}
if [ ! -x "$windows_build/bin/hostsim.exe" ]; then
    echo "No $windows_build/bin/hostsim.exe: the Windows pictures need the windows preset built first" >&2
    exit 1
fi
python3 scripts/window-walkthrough.py "$windows_build/bin" "$windows_build/wineprefix-display" \
    --pictures docs/pictures/windows
for picture in docs/pictures/windows/*.png; do
    echo "$picture"
done
