#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix of the project's own, so that nothing touches
# ~/.wine. The prefix is created on first use (half a minute); runs that start at the same time
# wait for it. The Windows build's tests run through this script (CMAKE_CROSSCOMPILING_EMULATOR).
#   wine-run.sh PREFIX-FOLDER PROGRAM.exe [ARGUMENT...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
mkdir -p "$(dirname "$WINEPREFIX")"
{
    flock 9
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
} 9>"$WINEPREFIX.lock"
exec wine "$@"
