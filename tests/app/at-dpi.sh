#!/usr/bin/env bash
# Runs a test program in a Wine prefix of its own whose screen density is DPI, inside the
# current session (its display). The prefix is made once; its wineserver is ended here.
#   tests/app/at-dpi.sh DPI PREFIX PROGRAM.exe [ARGS...]
set -uo pipefail
dpi=$1 prefix=$2
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX=$prefix
source "$here/cmake/wine-env.sh"
[ -n "${DISPLAY:-}" ] || { echo "at-dpi: no display; run inside cmake/session.sh" >&2; exit 1; }

stop_server() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
trap stop_server EXIT

"$here/cmake/wine-prefix.sh" || { echo "at-dpi: could not create $WINEPREFIX" >&2; exit 1; }
# Wine takes the screen density from the user's desktop settings when a process starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
KORVENTA_EXPECTED_DPI=$dpi wine "$@" </dev/null
