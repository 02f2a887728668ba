#!/usr/bin/env bash
# stress.sh N: runs the Windows tests N times (default 10) with nothing run
# again, the first half of the runs with two CPU-burning processes beside
# them, and prints a table of the failures of each test. Races that a quiet
# machine hides show up here. Builds first; the Windows preset must exist.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
loaded=$(( (runs + 1) / 2 ))
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
out=build/windows/stress
rm -rf "$out"
mkdir -p "$out"
: >"$out/failures.txt"
export GM_FLAKY_LOG="$PWD/$out/flaky.log"
: >"$GM_FLAKY_LOG"

burners=()
stop_burners() {
    for p in "${burners[@]}"; do kill "$p" 2>/dev/null || true; done
    burners=()
}
trap stop_burners EXIT

for run in $(seq 1 "$runs"); do
    load="quiet"
    if [ "$run" -le "$loaded" ]; then
        load="2 CPU burners"
        for _ in 1 2; do
            (while :; do :; done) &
            burners+=($!)
        done
    fi
    start=$(date +%s)
    bash tools/windows-tests.sh "$out/run-$run.log" >/dev/null 2>&1 || true
    stop_burners
    failed=$(bash tools/test-results.sh "$out/run-$run.log" | grep -v ' Passed$' || true)
    echo "$failed" | awk -v r="$run" 'NF {print r, $0}' >>"$out/failures.txt"
    printf 'run %2d (%s): %3d s, %d failed\n' "$run" "$load" "$(( $(date +%s) - start ))" \
        "$(echo "$failed" | awk 'NF' | wc -l)"
    # A run whose lanes left tests out (or ran some twice) says so.
    grep '^== the lanes ran' "$out/run-$run.log" | sed 's/^/  /' || true
done

echo
echo "failures per test in $runs runs (first $loaded under load):"
if [ -s "$out/failures.txt" ]; then
    awk '{n[$2]++; how[$2] = how[$2] " " $1 ":" $3} END {for (t in n) printf "  %-100s %2d  (run:how%s)\n", t, n[t], how[t]}' \
        "$out/failures.txt" | sort
else
    echo "  none"
fi
echo "program starts made once more (FLAKY): $(grep -c '^FLAKY' "$GM_FLAKY_LOG" || true)"
sed 's/^/  /' "$GM_FLAKY_LOG"
total=$(awk 'END {print NR}' "$out/failures.txt")
results=$(bash tools/test-results.sh "$out"/run-*.log | wc -l)
echo "$((results - total)) passed, $total failed"
[ "$total" -eq 0 ]
