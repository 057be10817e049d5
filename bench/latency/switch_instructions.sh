#!/usr/bin/env bash
# Instructions the program runs for presses of the statistics button, counted by callgrind: the
# first switch to the statistics, the first one back, then a switch there and back. Repeatable on
# a loaded machine, where the wall-clock latency is not. The data file of each count stays in
# OUT_DIR for callgrind_annotate (--inclusive=yes shows where the instructions go).
# Usage: switch_instructions.sh KESTROVA [WIDTHxHEIGHT] [OUT_DIR]   (default 3840x2160, a new folder)
# Build with symbols for readable profiles, e.g. the bench preset with CMAKE_CXX_FLAGS=-g.
set -euo pipefail
program=$(realpath "$1")
size=${2:-3840x2160}
out=${3:-$(mktemp -d)}
mkdir -p "$out"
out=$(realpath "$out")
command -v valgrind >/dev/null || { echo "missing valgrind" >&2; exit 1; }
# shellcheck source=tests/e2e/xscreen.sh
source "$(dirname "$0")/../../tests/e2e/xscreen.sh"

start_screen "${size%x*}" "${size#*x}"
valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out/switch.%p" \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
# Under callgrind the program starts some fifty times slower.
for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^Form3$' >/dev/null 2>&1 && break
    sleep 0.2
done
xdotool search --onlyvisible --name '^Form3$' >/dev/null 2>&1 || fail "no window named Form3 appeared"
sleep 8

# count NAME PRESSES: instructions of that many presses of the statistics button.
count() {
    local x y
    read -r x y < <(at 122 689)
    callgrind_control -z "$program_pid" >/dev/null 2>&1
    callgrind_control -i on "$program_pid" >/dev/null 2>&1
    for _ in $(seq "$2"); do
        xdotool mousemove "$x" "$y" click 1
        sleep 8
    done
    callgrind_control -i off "$program_pid" >/dev/null 2>&1
    callgrind_control -d "$1" "$program_pid" >/dev/null 2>&1
}
count first-switch 1
count first-back 1
count there-and-back 2
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""

echo "screen $size, instructions of the program (callgrind), files in $out:"
for file in "$out"/switch.*.[0-9]*; do
    awk '/^desc: Trigger: dump/ { name = $4 } /^totals:/ { printf "  %-15s %d\n", name, $2 }' "$file"
done
