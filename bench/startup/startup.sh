#!/usr/bin/env bash
# Start-up to first pixels of the program against a bare Qt Widgets window shown full screen,
# both on the same virtual screen in the same run. Each program is started RUNS times, taking
# turns; the time runs from just before the process starts to the moment its first paint has
# been handed to the X server. Prints the medians in ms and their ratio.
# Usage: startup.sh KESTROVA BARE_WINDOW [RUNS] [WIDTHxHEIGHT]
# Build both optimised first, e.g. with the bench preset:
#   cmake --preset bench && cmake --build --preset bench --target kestrova bare_window
#   bench/startup/startup.sh build/bench/kestrova build/bench/bench/startup/bare_window
set -euo pipefail
program=$1
bare=$2
runs=${3:-15}
size=${4:-1920x1080}
source "$(dirname "$0")/../../tests/e2e/xscreen.sh"

start_screen "${size%x*}" "${size#*x}"
export KESTROVA_FIRST_PAINT_PROBE=1

# Milliseconds from start to first pixels of one run.
first_pixels_ms() {
    local start end
    start=$(date +%s%N)
    end=$("$1" 2>/dev/null | tail -n1)
    [ -n "$end" ] || fail "$1 reported no first paint"
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f\n", (e - s) / 1e6 }'
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One unmeasured start each, so that both find their files in the page cache.
first_pixels_ms "$program" >/dev/null
first_pixels_ms "$bare" >/dev/null

: >"$work/program.ms"
: >"$work/bare.ms"
for _ in $(seq "$runs"); do
    first_pixels_ms "$program" >>"$work/program.ms"
    first_pixels_ms "$bare" >>"$work/bare.ms"
done

program_ms=$(median <"$work/program.ms")
bare_ms=$(median <"$work/bare.ms")
echo "screen ${size}, ${runs} runs each, median start to first pixels:"
echo "  kestrova     ${program_ms} ms  (runs: $(tr '\n' ' ' <"$work/program.ms"))"
echo "  bare window  ${bare_ms} ms  (runs: $(tr '\n' ' ' <"$work/bare.ms"))"
awk -v p="$program_ms" -v b="$bare_ms" 'BEGIN { printf "  ratio        %.2f\n", p / b }'
