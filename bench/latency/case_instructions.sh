#!/usr/bin/env bash
# Instructions the program runs for each kind of press that latency.sh times, counted by
# callgrind: repeatable on a loaded machine, where wall-clock times are not. In order: the first
# help page (F1), the first switch to the statistics and the first one back, four more switches,
# four switches between the operations on the statistics screen, four judged answers, the first
# entry into the game and four presses on the board. Each press is counted until the program
# has stopped using the processor. The data file of each count stays in OUT_DIR for
# callgrind_annotate (--inclusive=yes shows where the instructions go).
# Usage: case_instructions.sh KESTROVA [WIDTHxHEIGHT] [OUT_DIR]   (default 3840x2160, a new folder)
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
rm -rf "$XDG_DATA_HOME/Kestrova"
valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out/cases.%p" \
    "$program" >"$work/program.log" 2>&1 &
program_pid=$!
# Under callgrind the program starts some fifty times slower.
for _ in $(seq 600); do
    xdotool search --onlyvisible --name '^Form3$' >/dev/null 2>&1 && break
    sleep 0.2
done
xdotool search --onlyvisible --name '^Form3$' >/dev/null 2>&1 || fail "no window named Form3 appeared"

# Waits until the program has used no processor time for 1.5 s.
idle() {
    local before after
    before=$(awk '{ print $14 + $15 }' "/proc/$program_pid/stat")
    while sleep 1.5; do
        after=$(awk '{ print $14 + $15 }' "/proc/$program_pid/stat")
        [ "$after" != "$before" ] || return 0
        before=$after
    done
}
press() {
    local x y
    read -r x y < <(at "$1" "$2")
    xdotool mousemove "$x" "$y" click 1
    idle
}
begin() {
    callgrind_control -z "$program_pid" >/dev/null 2>&1
    callgrind_control -i on "$program_pid" >/dev/null 2>&1
}
end() {
    idle
    callgrind_control -i off "$program_pid" >/dev/null 2>&1
    callgrind_control -d "$1" "$program_pid" >/dev/null 2>&1
}
# The middle of cell (3, 4) of the answer table, as latency.sh presses it.
read -r cx cy < <(awk 'BEGIN { print 416 + 2.5 * 78 * 0.99, 87 + 3.5 * 70 * 0.99 }')
xdotool mousemove 0 0
idle

begin && xdotool key F1 && end help-first
begin && press 122 689 && end statistics-first
begin && press 122 689 && end statistics-back-first
begin && for _ in 1 2 3 4; do press 122 689; done && end statistics-x4
press 122 689
begin && for _ in 1 2; do press 121 104 && press 121 40; done && end operation-x4
press 122 689
press 314 36
begin && for _ in 1 2 3 4; do press "$cx" "$cy"; done && end judged-x4
press 314 36
begin && press 314 689 && end game-entry
press 314 36
begin && for _ in 1 2 3 4; do press "$cx" "$cy"; done && end game-press-x4
press 314 36
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""

echo "screen $size, millions of instructions of the program (callgrind), files in $out:"
for file in "$out"/cases.*.[0-9]*; do
    awk '/^desc: Trigger: dump/ { name = $4 } /^totals:/ { printf "  %-22s %7.1f\n", name, $2 / 1e6 }' "$file"
done
