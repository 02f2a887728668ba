#!/usr/bin/env bash
# windows-tests.sh LOG [CTEST ARGS...]: runs the Windows tests in lanes at
# once (GM_LANES, 4 unless set), each with a Wine prefix, wineserver and
# display of its own (build/windows/wineprefix-1, -2, ...), so the tests
# that need a desktop to themselves still run side by side. Lane K of N
# takes the test numbers K, K+N, K+2N, ...; lane 1 shows its output as it
# goes. LOG gets every lane's output, in lane order. The exit status is
# non-zero when any lane failed, or when the lanes together did not run
# every listed test exactly once.
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
# The tests are listed (and discovered, where a test program is newer than
# its list) once, before the lanes start: lanes that discover at the same
# moment can read a list another lane is still writing, and then each takes
# its share of a different list, so some tests run twice and others never.
bash tools/with-wine.sh "build/windows/wineprefix-1" ctest --preset windows -N "$@" >"$log.list" 2>&1
total=$(awk '/^Total Tests:/ {print $3}' "$log.list")
rm -f "$log.list"
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
ran=$(bash tools/test-results.sh "$log" | awk '{print $1}')
if [ "$(echo "$ran" | awk 'NF' | wc -l)" -ne "${total:-0}" ] ||
    [ "$(echo "$ran" | awk 'NF' | sort -u | wc -l)" -ne "${total:-0}" ]; then
    echo "== the lanes ran $(echo "$ran" | awk 'NF' | wc -l) results of $(echo "$ran" | awk 'NF' | sort -u | wc -l) tests where ${total:-no} tests are listed" | tee -a "$log"
    status=1
fi
exit "$status"
