#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer, with AddressSanitizer and
# UndefinedBehaviorSanitizer), writes their seed corpus from files the program itself writes, runs
# each target over the inputs kept in fuzz/regressions/ (each once showed a fault), then runs each
# target for a while. A fault stops its target; the input that shows it is kept in
# build/fuzz/crashes/ and the script ends with status 1.
# Usage: scripts/fuzz.sh [--ci | SECONDS_PER_TARGET]   (--ci: 20 s each; default 600 s each)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=600
if [ "${1:-}" = "--ci" ]; then
    seconds=20
elif [ -n "${1:-}" ]; then
    seconds=$1
fi

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# What fontconfig and D-Bus keep for the life of the process is no leak of the program.
export LSAN_OPTIONS="suppressions=$PWD/tests/e2e/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

out=build/fuzz
corpus=$out/corpus
mkdir -p "$out/crashes"
"$out/fuzz/fuzz_seeds" "$corpus"

failed=0
# First the inputs that once showed a fault, each read once.
for target in save_dat error_file startup roster report; do
    kept=fuzz/regressions/$target
    if [ -d "$kept" ] && ! "$out/fuzz/fuzz_$target" "$kept"/* >"$out/$target-regressions.log" 2>&1; then
        echo "fuzz $target: FAULT on a kept input"
        grep -E 'FAULT|ERROR|SUMMARY|runtime error|Running' "$out/$target-regressions.log" | head -n 20 || true
        failed=1
    fi
done
for target in save_dat error_file startup roster report; do
    log="$out/$target.log"
    status=0
    "$out/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$out/crashes/$target-" "$corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    if [ "$status" -eq 0 ]; then
        echo "fuzz $target: ${runs:-?} executions in $seconds s, no fault"
    else
        echo "fuzz $target: FAULT after ${runs:-?} executions; the input is in $out/crashes/"
        grep -E 'FAULT|ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -n 20 || true
        failed=1
    fi
done
exit "$failed"
