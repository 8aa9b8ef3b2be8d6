#!/usr/bin/env bash
# Saves a picture of the main window as the program shows it under Wine on a private
# display. Builds nothing: it starts the program already built in the build folder.
#   tools/screenshot.sh OUTPUT.png [PAGE]
# PAGE is the tab to bring to the front, 1 to 5 from the left (default 1).
# The build folder is $KORVENTA_BUILD_DIR, or build/ when that is not set.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
output=${1:?usage: tools/screenshot.sh OUTPUT.png [PAGE]}
page=${2:-1}
case "$page" in [1-5]) ;; *) echo "screenshot: PAGE must be 1 to 5" >&2; exit 2 ;; esac
: "${KORVENTA_BUILD_DIR:=$here/build}"
export KORVENTA_BUILD_DIR
exe="$KORVENTA_BUILD_DIR/Korventa.exe"
[ -f "$exe" ] || { echo "screenshot: $exe not found; build first" >&2; exit 1; }
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

if [ -z "${KORVENTA_SESSION:-}" ]; then
  exec "$here/cmake/session.sh" "$0" "$output" "$page"
fi

# Inside the session: start the program, wait (bounded) for its window, switch pages with
# the keyboard as a user would, and take the window's picture.
log=$(mktemp)
wine "$exe" >"$log" 2>&1 </dev/null &
program=$!
trap 'kill "$program" 2>/dev/null; rm -f "$log"' EXIT
window=""
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^Корвента$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "screenshot: the main window did not appear" >&2; exit 1; }
xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
sleep 0.5
for _ in $(seq 2 "$page"); do
  xdotool key --window "$window" ctrl+Tab
  sleep 0.3
done
sleep 0.7
import -window "$window" "$output"
echo "screenshot: saved $output"
