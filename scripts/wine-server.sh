#!/usr/bin/env bash
# wine-server.sh start|stop PREFIX: keeps one wine server running for a whole test run, so that each
# Windows test pays Wine's start-up once, and creates the prefix on first use.
set -eu
action="$1"
export WINEPREFIX="$2"
export WINEDEBUG=-all
# Without these overrides a new prefix offers to install Mono and Gecko and, with no one to answer,
# waits until the test run's time-out.
export WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
    start)
        mkdir -p "$WINEPREFIX"
        # Everything started from here on (the server, the services a Wine program starts, a server
        # that `wineserver -w` starts when none is left to wait for) outlives this script: none of it may
        # hold CTest's output pipes, or CTest waits for them for ever. What they say goes to a log.
        exec </dev/null >>"$WINEPREFIX/wine-server.log" 2>&1
        # A server left over from an interrupted run would refuse the new one.
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w || true
        # The server and the services wineboot starts outlive this script: they must not hold CTest's
        # output pipes, or CTest waits for them until its time-out.
        wineserver -p </dev/null >/dev/null 2>&1
        wine wineboot -i </dev/null >"$WINEPREFIX/wineboot.log" 2>&1 || true
        # hostsim draws its alerts and dialogs as windows: without a display, Wine makes windows
        # only with its null graphics driver, which the server reads when it starts.
        if ! wine reg query 'HKCU\Software\Wine\Drivers' /v Graphics 2>/dev/null | grep -q null; then
            wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
            wineserver -k >/dev/null 2>&1 || true
            wineserver -w || true
            wineserver -p </dev/null >/dev/null 2>&1
            # The services went with the old server. Started again here, they write to the log; left
            # to the first test, they would hold its output pipe, and CTest would wait for it for ever.
            wine wineboot </dev/null >>"$WINEPREFIX/wineboot.log" 2>&1 || true
        fi
        ;;
    stop)
        wineserver -k || true
        ;;
esac
