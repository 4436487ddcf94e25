#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix: wine-run.sh PREFIX PROGRAM.exe [ARGS...]
# Arguments that are absolute POSIX paths become Wine's Z: drive paths, so that CTest can pass
# $<TARGET_FILE:...> and build-tree paths to Windows programs unchanged.
set -u
export WINEPREFIX="$1"
shift
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
args=()
for arg in "$@"; do
    if [[ "$arg" == /* ]]; then
        arg="Z:${arg//\//\\}"
    fi
    args+=("$arg")
done
exec wine "${args[@]}"
