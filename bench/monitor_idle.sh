#!/usr/bin/env bash
# Resident memory and idle wake-ups of Monitor.exe (with the virtual mouse
# attached) next to an empty Win32 window program, both under the same Wine.
#
#   bash bench/monitor_idle.sh [SECONDS]     (default 30; run after building
#                                              the windows preset)
# Wake-ups are the context switches of all the process's threads, as Linux
# counts them, scaled to one minute.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}
bin=$PWD/build/windows/bin
[ -f "$bin/Monitor.exe" ] && [ -f "$bin/empty_window.exe" ] || { echo "build the windows preset first" >&2; exit 1; }

inner() {
    set -eu
    work=$(mktemp -d)
    # Every program of this run ends before its folder goes: the virtual
    # mouse still writes its flash file there after it answered "quit".
    trap 'wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; rm -rf "$work"' EXIT
    cp "$bin"/{Monitor.exe,MouseEmulator.exe,hiddriver.dll,lan.dll,empty_window.exe} "$work"/
    # Measured as they ship: the installer strips the programs' debug
    # information, which the loader would otherwise keep in memory.
    x86_64-w64-mingw32-strip "$work"/{Monitor.exe,hiddriver.dll,lan.dll,empty_window.exe}
    printf '[Transport]\r\nMode=emulator\r\nPipe=\\\\.\\pipe\\gm_bench_mouse\r\n' > "$work/hiddriver.ini"
    wine "$work/MouseEmulator.exe" serve --hidden >/dev/null 2>&1 &
    sleep 2
    wine "$work/empty_window.exe" >/dev/null 2>&1 &
    wine "$work/Monitor.exe" >/dev/null 2>&1 &
    sleep 15 # start-up and the read-back are not idle time

    # This run's programs only: other Wine prefixes may run their own.
    pid_of() { pgrep -f "$(basename "$work").$1" | head -1; }
    switches() {
        local total=0
        for s in /proc/"$1"/task/*/status; do
            total=$((total + $(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ {s+=$2} END {print s}' "$s")))
        done
        echo "$total"
    }
    rss() { awk '/^VmRSS/ {print $2}' /proc/"$1"/status; }
    mon=$(pid_of 'Monitor.exe'); emp=$(pid_of 'empty_window.exe')
    m0=$(switches "$mon"); e0=$(switches "$emp")
    sleep "$seconds"
    m1=$(switches "$mon"); e1=$(switches "$emp")
    mrss=$(rss "$mon"); erss=$(rss "$emp")
    awk -v m=$((m1 - m0)) -v e=$((e1 - e0)) -v s="$seconds" -v mr="$mrss" -v er="$erss" 'BEGIN {
        mw = m * 60 / s; ew = e * 60 / s
        printf "resident memory: Monitor %d KiB, empty window %d KiB, ratio %.2f\n", mr, er, mr / er
        if (ew > 0) printf "idle wake-ups per minute: Monitor %.0f, empty window %.0f, ratio %.2f\n", mw, ew, mw / ew
        else printf "idle wake-ups per minute: Monitor %.0f, empty window %.0f (no ratio: the baseline never woke)\n", mw, ew
    }'
    wine "$work/MouseEmulator.exe" --pipe '\\.\pipe\gm_bench_mouse' quit >/dev/null 2>&1 || true
}
export -f inner
export bin seconds
bash tools/with-wine.sh build/windows/benchprefix bash -c inner
