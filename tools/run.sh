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
if [ -n "${DISPLAY:-}" ]; then
    exec tools/wine-run "$bin/Monitor.exe" 1
fi
exec bash tools/with-wine.sh "$WINEPREFIX" tools/wine-run "$bin/Monitor.exe" 1
