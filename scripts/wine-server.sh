#!/usr/bin/env bash
# wine-server.sh start|stop PREFIX: keeps one wine server running for a whole test run, so that each
# Windows test pays Wine's start-up once, and creates the prefix on first use.
set -eu
action="$1"
export WINEPREFIX="$2"
export WINEDEBUG=-all
case "$action" in
    start)
        mkdir -p "$WINEPREFIX"
        wineserver -p
        wine wineboot -i >/dev/null 2>&1 || true
        ;;
    stop)
        wineserver -k || true
        ;;
esac
