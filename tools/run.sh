#!/usr/bin/env bash
# Installs what is missing, builds the Windows programs and starts the suite
# under Wine: on your X display when DISPLAY is set, otherwise on a private
# Xvfb display.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"

bin=build/windows/bin
if [ ! -f "$bin/Monitor.exe" ]; then
    echo "Built so far (in $bin):"
    ls "$bin" | grep -E '\.(exe|dll)$' | grep -v -E '_tests?\.exe$|_peer\.exe$' | sed 's/^/  /'
    echo "The resident program is not part of this build yet; nothing to start."
    exit 0
fi
export WINEPREFIX="${WINEPREFIX:-$PWD/build/windows/userprefix}"
# The virtual mouse first (hiddriver.ini picks it by default), with its
# window, then the resident program, asked to open the configuration program.
start_suite() {
    set -u
    wine "$1/MouseEmulator.exe" >/dev/null 2>&1 &
    sleep 2
    wine "$1/Monitor.exe" 1
    wine "$1/MouseEmulator.exe" quit >/dev/null 2>&1 || true
}
export -f start_suite
if [ -n "${DISPLAY:-}" ]; then
    export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    exec bash -c 'start_suite "$0"' "$PWD/$bin"
fi
exec bash tools/with-wine.sh "$WINEPREFIX" bash -c 'start_suite "$0"' "$PWD/$bin"
