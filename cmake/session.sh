#!/usr/bin/env bash
# Runs one command inside a Wine session of its own: a private Xvfb display, the private
# prefix (created on first use) and a persistent wineserver, all started here and stopped
# here again by their own process ids, whatever the command's outcome.
#   cmake/session.sh COMMAND [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"

xvfb_pid=""
cleanup() {
  # Wine's background processes belong to the prefix's wineserver: ending it ends them.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  [ -n "${display_file:-}" ] && rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "session: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$display_file" ] || { echo "session: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"
export KORVENTA_SESSION=1

"$here/wine-prefix.sh" || { echo "session: could not create the Wine prefix $WINEPREFIX" >&2; exit 1; }
# Started here with its output in a file, so that no test's pipes are held open by Wine's
# background processes, and kept alive between test programs so each starts quickly.
wineserver -p >/dev/null 2>&1
wine wineboot >/dev/null 2>&1 </dev/null

"$@"
