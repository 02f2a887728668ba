#!/usr/bin/env bash
# Runs every fuzz target of the core and prints, for each, its executions,
# the coverage it reached and the crashes it found.
#
#   bash bench/fuzz.sh SECONDS          each target for that long
#   bash bench/fuzz.sh --runs N         each target for N executions
#   add --save to merge what the run found into the corpus in the tree
#   add --only a,b to run just those targets (names as in fuzz/corpus)
#   add --jobs N to run N processes of each target side by side over one
#     corpus (with --runs, the N share the executions; figures are summed)
#
# Each run starts from the target's corpus in fuzz/corpus/<target> (the host
# tests replay it). The crashing inputs of the last run are kept in
# build/fuzz/crashes/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=() save=0 only= jobs=1 runs=
while [ $# -gt 0 ]; do
    case "$1" in
    --runs) runs=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --save) save=1; shift ;;
    --only) only=",$2,"; shift 2 ;;
    [0-9]*) limit=(-max_total_time="$1"); shift ;;
    *) echo "usage: bench/fuzz.sh SECONDS | --runs N [--save] [--only a,b] [--jobs N]" >&2; exit 2 ;;
    esac
done
[ -z "$runs" ] || limit=(-runs=$(((runs + jobs - 1) / jobs)))
[ ${#limit[@]} -gt 0 ] && [ "$jobs" -ge 1 ] ||
    { echo "usage: bench/fuzz.sh SECONDS | --runs N [--save] [--only a,b] [--jobs N]" >&2; exit 2; }

bash tools/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

out=build/fuzz/runs
rm -rf "$out"
mkdir -p "$out"
printf '%-22s %14s %8s %8s %8s %9s\n' target executions exec/s cov corpus crashes
total_crashes=0
for bin in build/fuzz/bin/fuzz_*; do
    name=${bin##*/fuzz_}
    [ -z "$only" ] || [[ "$only" == *",$name,"* ]] || continue
    seeds=fuzz/corpus/$name
    work=$out/$name
    crashes=build/fuzz/crashes/$name
    rm -rf "$crashes"
    mkdir -p "$seeds" "$work" "$crashes"
    # A crash ends that process's run early; its input is kept for the fix.
    for j in $(seq 1 "$jobs"); do
        "$bin" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$crashes/" \
            "$work" "$seeds" >"$out/$name.$j.log" 2>&1 &
    done
    wait || true
    execs=0 speed=0 cov=0
    for j in $(seq 1 "$jobs"); do
        log=$out/$name.$j.log
        e=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -1)
        s=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log" | tail -1)
        c=$(sed -nE 's/.* cov: ([0-9]+) .*/\1/p' "$log" | tail -1)
        execs=$((execs + ${e:-0})) speed=$((speed + ${s:-0}))
        [ "${c:-0}" -le "$cov" ] || cov=$c
    done
    found=$(find "$crashes" -type f | wc -l)
    total_crashes=$((total_crashes + found))
    printf '%-22s %14s %8s %8s %8s %9s\n' "$name" "$execs" "$speed" "$cov" \
        "$(find "$work" -type f | wc -l)" "$found"
    if [ "$save" -eq 1 ]; then
        # Keeps the smallest set of inputs that covers what both sets cover.
        "$bin" -merge=1 "$seeds" "$work" >"$out/$name.merge.log" 2>&1
    fi
done
echo "crashes: $total_crashes (inputs in build/fuzz/crashes)"
[ "$total_crashes" -eq 0 ]
