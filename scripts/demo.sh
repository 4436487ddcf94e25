#!/usr/bin/env bash
# The main job: hostsim loads the add-on in a fresh demo data folder where an installation of VELD
# Engineer is registered, and shows the menu the add-on registered. Leaves everything in ./demo.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target hostsim VeldEngineer VELDEngineerConnection

bin=build/dev/bin
demo=demo
rm -rf "$demo"
mkdir -p "$demo/home" "$demo/VELD Engineer"
cp "$bin/VeldEngineer.exe" "$demo/VELD Engineer/"

"$bin/hostsim" registry --home "$demo/home" set-string \
    'HKEY_LOCAL_MACHINE\SOFTWARE\VELD\Installer\VeldEngineer\2025' InstallDir "$PWD/$demo/VELD Engineer"

"$bin/hostsim" --home "$demo/home" --transcript "$demo/transcript.jsonl" \
    --script scripts/demo.script "$bin/VELDEngineerConnection.apx"
echo "Transcript: $demo/transcript.jsonl"
