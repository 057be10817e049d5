#!/usr/bin/env bash
# The long runs, with one command: builds the fuzz targets (clang's libFuzzer) and the tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, runs every fuzz target for a number of inputs
# and the event storm for a number of events, and prints and keeps the figures: inputs, time,
# inputs per second, coverage (libFuzzer's cov and ft), and faults.
#
# Usage: scripts/long-runs.sh [options]
#   --inputs N          inputs per fuzz target (default 10000000)
#   --startup-inputs N  inputs of the start-up target (default 2000000)
#   --storm-events N    events of the storm (default 1000000)
#   --max-seconds S     stop each fuzz run after S seconds, goal reached or not (default: none)
#   --only LIST         only these runs, by comma: save_dat,error_file,startup,roster,report,storm
#   --parallel          the runs side by side instead of one after another
#   --out FOLDER        logs, corpus, crashes and figures (default build/long-runs)
# NICE=19 runs everything under nice. A fault stops its run; the input that shows it is kept in
# FOLDER/crashes/, the storm's seed in its log, and the script ends with status 1. The figures go
# to FOLDER/figures.md, a table for docs/reliability.md.
set -euo pipefail
cd "$(dirname "$0")/.."

inputs=10000000
startup_inputs=2000000
storm_events=1000000
max_seconds=0
only=save_dat,error_file,startup,roster,report,storm
parallel=0
out=build/long-runs
while [ $# -gt 0 ]; do
    case "$1" in
        --inputs) inputs=$2; shift 2 ;;
        --startup-inputs) startup_inputs=$2; shift 2 ;;
        --storm-events) storm_events=$2; shift 2 ;;
        --max-seconds) max_seconds=$2; shift 2 ;;
        --only) only=$2; shift 2 ;;
        --parallel) parallel=1; shift ;;
        --out) out=$2; shift 2 ;;
        *) sed -n '2,18p' "$0" >&2; exit 2 ;;
    esac
done
wanted() { [[ ",$only," == *",$1,"* ]]; }
run_nice=()
if [ -n "${NICE:-}" ]; then
    run_nice=(nice -n "$NICE")
fi

scripts/install-deps.sh
fuzz_targets=()
for target in save_dat error_file startup roster report; do
    if wanted "$target"; then
        fuzz_targets+=("$target")
    fi
done
if [ ${#fuzz_targets[@]} -gt 0 ]; then
    cmake --preset fuzz >/dev/null
    "${run_nice[@]}" cmake --build --preset fuzz
fi
if wanted storm; then
    cmake --preset sanitize >/dev/null
    "${run_nice[@]}" cmake --build --preset sanitize --target tests_app
fi

# What fontconfig and D-Bus keep for the life of the process is no leak of the program.
export LSAN_OPTIONS="suppressions=$PWD/tests/e2e/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

mkdir -p "$out/crashes" "$out/logs"
rm -f "$out"/logs/*.figures
if [ ${#fuzz_targets[@]} -gt 0 ]; then
    build/fuzz/fuzz/fuzz_seeds "$out/corpus" >"$out/logs/seeds.log" 2>&1
fi

# One fuzz target for its inputs; the figures go to $out/logs/TARGET.figures.
fuzz_run() {
    local target=$1 goal=$2 log="$out/logs/$1.log" status=0 start end
    local limit=()
    if [ "$max_seconds" -gt 0 ]; then
        limit=(-max_total_time="$max_seconds")
    fi
    # The inputs that once showed a fault join the corpus.
    local kept=()
    if [ -d "fuzz/regressions/$target" ]; then
        kept=("fuzz/regressions/$target")
    fi
    start=$(date +%s)
    "${run_nice[@]}" "build/fuzz/fuzz/fuzz_$target" -runs="$goal" "${limit[@]}" \
        -print_final_stats=1 -artifact_prefix="$out/crashes/$target-" "$out/corpus/$target" \
        "${kept[@]}" >"$log" 2>&1 || status=$?
    end=$(date +%s)
    local runs cov ft faults
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    # The last status line before the end has the coverage reached.
    cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n1 | cut -d' ' -f2)
    ft=$(grep -Eo 'ft: [0-9]+' "$log" | tail -n1 | cut -d' ' -f2)
    faults=0
    if [ "$status" -ne 0 ]; then
        faults=1
        runs=$(grep -Eo '^#[0-9]+' "$log" | tail -n1 | tr -d '#')
    fi
    echo "$target ${runs:-0} $goal $((end - start)) ${cov:-?} ${ft:-?} $faults" \
        >"$out/logs/$target.figures"
    if [ "$faults" -ne 0 ]; then
        echo "fuzz $target: FAULT after ${runs:-?} inputs; the input is in $out/crashes/"
        grep -E 'FAULT|ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -n 20 || true
    fi
}

# The event storm under the sanitizers, checked after every event.
storm_run() {
    local log="$out/logs/storm.log" status=0 start end
    start=$(date +%s)
    KESTROVA_STORM_EVENTS=$storm_events "${run_nice[@]}" build/sanitize/tests/tests_app \
        --gtest_filter='EventStorm*' >"$log" 2>&1 || status=$?
    end=$(date +%s)
    local events
    events=$(sed -n 's/^event storm: \([0-9]*\) events run.*/\1/p' "$log" | tail -n1)
    echo "storm ${events:-0} $storm_events $((end - start)) - - $((status != 0))" \
        >"$out/logs/storm.figures"
    if [ "$status" -ne 0 ]; then
        echo "event storm: FAULT; its seed and last events are in $log"
        grep -A 40 'Failure' "$log" | head -n 50 || true
    fi
}

pids=()
for target in "${fuzz_targets[@]}"; do
    goal=$inputs
    if [ "$target" = startup ]; then
        goal=$startup_inputs
    fi
    if [ "$parallel" -eq 1 ]; then
        fuzz_run "$target" "$goal" &
        pids+=($!)
    else
        fuzz_run "$target" "$goal"
    fi
done
if wanted storm; then
    if [ "$parallel" -eq 1 ]; then
        storm_run &
        pids+=($!)
    else
        storm_run
    fi
fi
for pid in "${pids[@]}"; do
    wait "$pid"
done

figures="$out/figures.md"
failed=0
{
    echo "Long runs of $(date -u '+%Y-%m-%d %H:%M UTC') at $(git rev-parse --short HEAD)," \
        "on $(nproc) cores, load at the end $(cut -d' ' -f1-3 /proc/loadavg)${NICE:+, under nice $NICE}."
    echo
    echo "| run | inputs | goal | reached | time (s) | inputs/s | cov | ft | faults |"
    echo "|---|---:|---:|---|---:|---:|---:|---:|---:|"
    for f in "$out"/logs/*.figures; do
        read -r name runs goal seconds cov ft faults <"$f"
        rate=$((seconds > 0 ? runs / seconds : runs))
        reached=no
        if [ "$runs" -ge "$goal" ]; then
            reached=yes
        fi
        if [ "$faults" -ne 0 ]; then
            failed=1
        fi
        echo "| $name | $runs | $goal | $reached | $seconds | $rate | $cov | $ft | $faults |"
    done
} >"$figures"
cat "$figures"
echo "(kept in $figures)"
exit "$failed"
