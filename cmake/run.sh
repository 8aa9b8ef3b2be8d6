#!/usr/bin/env bash
# Starts the program under Wine on the current display, in a prefix of its own where
# .xls and .doc files open in the Linux desktop's default application.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  echo "make run: no display (DISPLAY is not set); start it from a desktop session, or use 'make test'." >&2
  exit 1
fi
export WINEPREFIX="$here/../build/wine-run"
source "$here/wine-env.sh"
"$here/wine-prefix.sh"
if [ ! -f "$WINEPREFIX/.korventa-associations" ]; then
  # Wine has no association for these types; winebrowser hands a file to the desktop's
  # own default application (the spreadsheet or word processor).
  for ext in .xls .doc; do
    wine reg add "HKCR\\$ext" /ve /d Korventa.Document /f >/dev/null 2>&1
  done
  wine reg add 'HKCR\Korventa.Document\shell\open\command' /ve /d 'winebrowser "%1"' /f >/dev/null 2>&1
  touch "$WINEPREFIX/.korventa-associations"
fi
exec wine "$1"
