#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those still missing.
# Fast when everything is present: it asks dpkg, not the network.
set -euo pipefail
packages=(
  cmake make
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool
  python3 python3-xlrd python3-olefile
  nsis   # makensis: the Windows installer, built and installed by the tests
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
