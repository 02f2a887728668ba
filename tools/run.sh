#!/usr/bin/env bash
# Installs what is missing, builds the Windows programs and starts the suite
# under Wine: on your X display when DISPLAY is set, otherwise on a private
# Xvfb display.
set -eu
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset windows >/dev/null
# The product only; the tests and benchmarks are built by tools/test-all.sh.
cmake --build --preset windows -j "$(nproc)" --target Monitor Option OSD MouseEmulator hiddriver lan skins

bin=build/windows/bin
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
# Without a display of yours: the suite runs on a private Xvfb display, and
# a screenshot of the configuration program's main dialog shows what it drew.
start_suite_headless() {
    set -u
    local shot="$2"
    wine "$1/MouseEmulator.exe" >/dev/null 2>&1 &
    sleep 2
    wine "$1/Monitor.exe" 1 &
    local monitor=$!
    local id=""
    for _ in $(seq 1 120); do
        id=$(xdotool search --name '^Brennick$' 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.5
    done
    if [ -n "$id" ]; then
        # Long enough for the monitor to have read the mouse back.
        sleep 12
        import -window "$id" "$shot" && echo "Screenshot of the main dialog: $shot"
    else
        echo "The configuration program did not open; no screenshot."
    fi
    echo "The suite runs on the private display $DISPLAY; press Ctrl-C to stop it."
    wait "$monitor"
    wine "$1/MouseEmulator.exe" quit >/dev/null 2>&1 || true
}
export -f start_suite start_suite_headless
if [ -n "${DISPLAY:-}" ]; then
    export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    exec bash -c 'start_suite "$0"' "$PWD/$bin"
fi
mkdir -p build/screenshots
exec bash tools/with-wine.sh "$WINEPREFIX" bash -c 'start_suite_headless "$0" "$1"' "$PWD/$bin" \
    "$PWD/build/screenshots/main-dialog.png"
