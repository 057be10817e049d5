#!/usr/bin/env bash
# Start-up of the program against a bare Qt Widgets window shown full screen, both on the same
# virtual screen in the same run, taking turns, RUNS times each, at every screen size given:
# - start to first pixels: from just before the process starts to the moment its first paint
#   has been handed to the X server;
# - resident memory (VmRSS) 3 s after the start.
# Prints the medians and their ratios.
# Usage: startup.sh KESTROVA BARE_WINDOW [RUNS] [WIDTHxHEIGHT ...]
#   (default: 15 runs at 1280x727 and 1920x1080)
# Build both optimised first, e.g. with the bench preset:
#   cmake --preset bench && cmake --build --preset bench --target kestrova bare_window
#   bench/startup/startup.sh build/bench/kestrova build/bench/bench/startup/bare_window
set -euo pipefail
program=$(realpath "$1")
bare=$(realpath "$2")
runs=${3:-15}
shift $(($# < 3 ? $# : 3))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1280x727 1920x1080)
# shellcheck source=tests/e2e/xscreen.sh
source "$(dirname "$0")/../../tests/e2e/xscreen.sh"

# Milliseconds from start to first pixels of one run.
first_pixels_ms() {
    local start end
    start=$(date +%s%N)
    end=$(KESTROVA_FIRST_PAINT_PROBE=1 "$1" 2>/dev/null | tail -n1)
    [ -n "$end" ] || fail "$1 reported no first paint"
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f\n", (e - s) / 1e6 }'
}

# Resident memory in MB of one run, 3 s after its start.
resident_mb() {
    local pid kb
    "$1" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ -n "$kb" ] || fail "$1 ended before 3 s"
    awk -v k="$kb" 'BEGIN { printf "%.1f\n", k / 1024 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

report() {
    local what=$1 unit=$2 p b
    p=$(median <"$work/program.$what")
    b=$(median <"$work/bare.$what")
    printf '  %-22s kestrova %7s %s  bare %7s %s  ratio %s\n' "$what" "$p" "$unit" "$b" "$unit" \
        "$(awk -v p="$p" -v b="$b" 'BEGIN { printf "%.2f", p / b }')"
    echo "    kestrova runs: $(tr '\n' ' ' <"$work/program.$what")"
    echo "    bare runs:     $(tr '\n' ' ' <"$work/bare.$what")"
}

measure_at() {
    local size=$1
    start_screen "${size%x*}" "${size#*x}"
    # One unmeasured start each, so that both find their files in the page cache.
    first_pixels_ms "$program" >/dev/null
    first_pixels_ms "$bare" >/dev/null
    : >"$work/program.first-pixels"
    : >"$work/bare.first-pixels"
    : >"$work/program.memory"
    : >"$work/bare.memory"
    for _ in $(seq "$runs"); do
        first_pixels_ms "$program" >>"$work/program.first-pixels"
        first_pixels_ms "$bare" >>"$work/bare.first-pixels"
        resident_mb "$program" >>"$work/program.memory"
        resident_mb "$bare" >>"$work/bare.memory"
    done
    echo "screen ${size}, ${runs} runs each, medians (load: $(cut -d' ' -f1-3 /proc/loadavg)):"
    report first-pixels ms
    report memory MB
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}

for size in "${sizes[@]}"; do
    measure_at "$size"
done
