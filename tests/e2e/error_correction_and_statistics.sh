#!/usr/bin/env bash
# A day in the real program: a run of ten exercises answered wrongly, error correction over those
# ten mistakes (which saves nothing), then the statistics screen and its reset in two clicks,
# which empties save2.dat and the multiplication part of Save.dat only.
# Usage: error_correction_and_statistics.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
start_program "$program"

click() {
    xdotool mousemove "$1" "$2" click 1
    sleep "${3:-0.15}"
}

# Screen position of the number n in the answer table: Panel1 at (416, 87), drawn at 0.99 of its
# size, 78 x 70 per cell.
cell() {
    awk -v n="$1" 'BEGIN { c = (n - 1) % 10; r = int((n - 1) / 10)
        printf "%d %d\n", 416 + (c + 0.5) * 78 * 0.99, 87 + (r + 0.5) * 70 * 0.99 }'
}

press() {
    local x y
    read -r x y < <(cell "$1")
    click "$x" "$y" "${2:-0.15}"
}

data="$XDG_DATA_HOME/Kestrova"
save="$data/Save.dat"
errors="$data/save2.dat"
byte() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }
sum_u16() { od -An -v -tu2 -j "$2" -N "$3" "$1" | awk '{ for (i = 1; i <= NF; ++i) s += $i } END { print s + 0 }'; }

# Without errors, error correction only says so and brings up the run settings: ten exercises.
click 122 623  # error correction
click 1030 27  # the exercise-count slider
xdotool key Home
sleep 0.3

# A run of ten, every answer 1: wrong for every exercise of 2.
click 314 36  # Start
for _ in $(seq 10); do
    press 1
done
sleep 0.5
[ -f "$save" ] || fail "no Save.dat after the run"
[ "$(byte "$save" 639)" -eq 10 ] || fail "the run did not have ten exercises"
[ "$(byte "$save" 621)" -eq 1 ] && [ "$(byte "$save" 450)" -eq 1 ] || fail "no mark 1 for number 2"
[ -f "$errors" ] || fail "no save2.dat after ten wrong answers"
size=$(stat -c %s "$errors")
[ $((size % 12)) -eq 0 ] && [ "$size" -gt 0 ] || fail "save2.dat has $size bytes"
records=$((size / 12))
weights=$(for k in $(seq 0 $((records - 1))); do od -An -tf4 -j $((12 * k + 4)) -N4 "$errors"; done |
    awk '{ s += $1 } END { print s }')
[ "$weights" = 10 ] || fail "the recorded errors weigh $weights, expected 10"
echo "ok ten wrong answers in $records error records"
before=$(md5sum "$save" "$errors")

# Error correction asks each of the ten again; a wrong press keeps the exercise, so pressing every
# answer 2..20 in turn answers at least one exercise per round.
click 122 623
keep_screenshot error-correction-on
click 314 36  # Start
for _ in $(seq 10); do
    for n in 2 4 6 8 10 12 14 16 18 20; do
        press "$n" 0.08
    done
done
sleep 0.5
keep_screenshot after-error-correction
[ "$(md5sum "$save" "$errors")" = "$before" ] || fail "error correction wrote to the files"
echo "ok error correction over the ten saved nothing"

# The statistics screen: the exercises answered wrongly are coloured, the others silver.
click 122 689  # statistics
sleep 0.3
keep_screenshot statistics
# An exercise 2 x b with b from 2 on has a cell in the table (column b).
second=$(for k in $(seq 0 $((records - 1))); do byte "$errors" $((12 * k + 1)); done |
    awk '$1 >= 2 { print; exit }')
[ -n "$second" ] || fail "every wrong answer was to 2 x 1"
read -r x y < <(awk -v c="$second" 'BEGIN { printf "%d %d\n", 416 + ((c - 1) * 78 + 7) * 0.99, 87 + 76 * 0.99 }')
colour=$(pixel "$shot" "$x" "$y")
for plain in C0C0C0 696969; do
    colour_near "$colour" "$plain" 8 && fail "the cell of 2 x $second is #$colour"
done
echo "ok 2 x $second is coloured #$colour"

# The reset: the first click only asks for confirmation, the second resets multiplication.
click 314 689
keep_screenshot statistics-reset-asked
[ "$(md5sum "$save" "$errors")" = "$before" ] || fail "the first click of the reset wrote"
division_before=$(od -An -tx1 -j 2 -N1 "$save"; od -An -tx1 -j 24 -N 16 "$save"; od -An -v -tx1 -j 240 -N 200 "$save")
click 314 689
sleep 0.3
keep_screenshot statistics-after-reset
[ "$(stat -c %s "$errors")" -eq 0 ] || fail "save2.dat is not empty after the reset"
[ "$(byte "$save" 1)" -eq 0 ] || fail "the multiplication period is still marked as begun"
[ "$(sum_u16 "$save" 40 200)" -eq 0 ] || fail "multiplication still counts answers"
[ "$(od -An -v -tu1 -j 440 -N 90 "$save" | tr -d ' 0\n')" = "" ] || fail "multiplication keeps marks"
[ "$(byte "$save" 639)" -eq 10 ] || fail "the reset lost the exercise count setting"
division_after=$(od -An -tx1 -j 2 -N1 "$save"; od -An -tx1 -j 24 -N 16 "$save"; od -An -v -tx1 -j 240 -N 200 "$save")
[ "$division_after" = "$division_before" ] || fail "the reset touched division"
echo "ok the reset emptied multiplication only"

click 1239 690  # close
wait_for_exit "$program_pid" || fail "the program did not end after the close button"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
