#!/usr/bin/env bash
# with-wine.sh PREFIX_DIR COMMAND...
# Runs COMMAND with its own Wine prefix, a private Xvfb display and a
# persistent wineserver, then stops exactly what it started.
set -u
prefix_dir=$(realpath -m "$1"); shift

export WINEPREFIX="$prefix_dir"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

xvfb_pid=""
cleanup() {
    # Only this prefix's wineserver and the display we started.
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display number: no lock file and no socket.
display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "with-wine: no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"

mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "with-wine: booting a new Wine prefix in $WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
fi
# Keep one server alive so each program starts fast; its pipes must not be ours.
wineserver -p </dev/null >/dev/null 2>&1
# The first program starts Wine's own services, which would inherit and hold
# the caller's pipes (a test runner reading a test's output would then never
# see it end). Start them here, on /dev/null.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

"$@"
