#!/usr/bin/env bash
# windows-tests.sh LOG [CTEST ARGS...]: runs the Windows tests in lanes at
# once (GM_LANES, 4 unless set), each with a Wine prefix, wineserver and
# display of its own (build/windows/wineprefix-1, -2, ...), so the tests
# that need a desktop to themselves still run side by side. Lane K of N
# takes the test numbers K, K+N, K+2N, ...; lane 1 shows its output as it
# goes. LOG gets every lane's output, in lane order. The exit status is
# non-zero when any lane failed.
set -u
cd "$(dirname "$0")/.."
log=$1
shift
lanes=${GM_LANES:-4}
lane() {
    local n=$1
    shift
    bash tools/with-wine.sh "build/windows/wineprefix-$n" \
        ctest --preset windows -j 1 -I "$n,,$lanes" "$@"
}
pids=()
for n in $(seq 2 "$lanes"); do
    lane "$n" "$@" >"$log.lane$n" 2>&1 &
    pids+=($!)
done
status=0
lane 1 "$@" 2>&1 | tee "$log.lane1"
[ "${PIPESTATUS[0]}" -eq 0 ] || status=1
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
for n in $(seq 2 "$lanes"); do
    echo "== lane $n"
    cat "$log.lane$n"
done
for n in $(seq 1 "$lanes"); do
    cat "$log.lane$n"
    rm -f "$log.lane$n"
done >"$log"
exit "$status"
