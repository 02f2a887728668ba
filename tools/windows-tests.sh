#!/usr/bin/env bash
# windows-tests.sh LOG [CTEST ARGS...]: runs the Windows tests in two lanes
# at once, each with a Wine prefix, wineserver and display of its own
# (build/windows/wineprefix-1 and -2), so the tests that need a desktop to
# themselves still run two at a time. Lane 1 takes the odd test numbers and
# shows its output as it goes; lane 2 takes the even ones. LOG gets both
# lanes' output, lane 1 first. The exit status is non-zero when either lane
# failed.
set -u
cd "$(dirname "$0")/.."
log=$1
shift
lane() {
    local n=$1
    shift
    bash tools/with-wine.sh "build/windows/wineprefix-$n" \
        ctest --preset windows -j 1 -I "$n,,2" "$@"
}
lane 2 "$@" >"$log.lane2" 2>&1 &
second=$!
lane 1 "$@" 2>&1 | tee "$log.lane1"
first=${PIPESTATUS[0]}
wait "$second"
other=$?
echo "== lane 2"
cat "$log.lane2"
cat "$log.lane1" "$log.lane2" >"$log"
rm -f "$log.lane1" "$log.lane2"
[ "$first" -eq 0 ] && [ "$other" -eq 0 ]
