#!/usr/bin/env bash
# Creates the private Wine prefix once (about ten seconds); later calls return at once.
# Needs a display, which the session script provides.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
stamp="$WINEPREFIX/.korventa-ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$WINEPREFIX"
log="$WINEPREFIX/../$(basename "$WINEPREFIX").log"
wine wineboot -i >"$log" 2>&1 </dev/null
wineserver -w
touch "$stamp"
