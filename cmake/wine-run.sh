#!/usr/bin/env bash
# Runs a Windows program under Wine in the private prefix; outside a session it opens one.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${KORVENTA_SESSION:-}" ]; then
  exec "$here/session.sh" "$0" "$@"
fi
source "$here/wine-env.sh"
exec wine "$@"
