#!/usr/bin/env bash
# with-wine.sh PREFIX_DIR COMMAND...
# Runs COMMAND with its own Wine prefix, a private Xvfb display and a
# persistent wineserver, then stops exactly what it started.
set -u
prefix_dir=$(realpath -m "$1"); shift

export WINEPREFIX="$prefix_dir"
export WINEARCH=win64
# Quiet, but for Wine's own errors about windows and the display (no display,
# no graphics driver), which would otherwise leave a failed window
# creation without a cause.
export WINEDEBUG="${WINEDEBUG:--all,err+winediag,err+win,err+x11drv}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

xvfb_pid=""
cleanup() {
    # Only this prefix's wineserver and the display we started.
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display number: no lock file, no socket, and no abstract socket.
# The last one is shared by every root on this machine (a chroot has a /tmp
# of its own), so without that check two roots could pick the same number
# and one's programs would draw and type on the other's display.
in_use() {
    [ -e "/tmp/.X$1-lock" ] || [ -e "/tmp/.X11-unix/X$1" ] ||
        grep -q "@/tmp/.X11-unix/X$1\$" /proc/net/unix 2>/dev/null
}
display=""
# Runs started at the same moment (the test lanes) choose one at a time.
exec 9>/tmp/.with-wine-display.lock
flock 9
for n in $(seq 90 140); do
    in_use "$n" && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
    xvfb_pid=$!
    # Up to 30 s: a loaded machine can be slow to start it.
    for _ in $(seq 1 600); do
        [ -e "/tmp/.X11-unix/X$n" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
        sleep 0.05
    done
    # Ours only if our Xvfb holds the display's lock and is still alive: one
    # that lost the number to another (started meanwhile) exits soon after.
    if [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ] &&
        sleep 0.2 && kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
        display=$n
        break
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
done
flock -u 9
exec 9>&-
[ -n "$display" ] || { echo "with-wine: no free X display" >&2; exit 1; }
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
