# Sourced by the Wine scripts: one private prefix per purpose, inside the build tree,
# and no Mono/Gecko installer prompts or desktop menu entries.
: "${KORVENTA_BUILD_DIR:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
: "${WINEPREFIX:=$KORVENTA_BUILD_DIR/wine-test}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
