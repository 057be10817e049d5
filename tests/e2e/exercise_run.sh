#!/usr/bin/env bash
# A whole run in the real program: Start, 25 presses on the answer table, and the run's mark in
# Save.dat for number 2 with 25 answers counted, and its bar in the column beside the numbers.
# Usage: exercise_run.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
start_program "$program"

click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.15
}

click 314 36  # Start
# The answer table lies in Panel1 at (416, 87), drawn at 0.99 of its size: 78 x 70 per cell.
for i in $(seq 0 24); do
    column=$((i % 10 + 1))
    row=$((i / 10 % 9 + 1))
    x=$(awk -v c="$column" 'BEGIN { printf "%d", 416 + (c - 0.5) * 78 * 0.99 }')
    y=$(awk -v r="$row" 'BEGIN { printf "%d", 87 + (r - 0.5) * 70 * 0.99 }')
    click "$x" "$y"
done
sleep 0.5

expect_run_saved 25
echo "ok mark $mark with 25 answers in Save.dat"

# The bar of that mark beside Button2: Panel3 at (121, 136), first bar at x 9..14, row 2 at y 72.
keep_screenshot after-run-1280x727
bar=$(pixel "$shot" 132 208)
case "$mark" in
    1 | 2) expected=FF0000 ;;
    3) expected=FFFF00 ;;
    4) expected=7FFF00 ;;
    5) expected=00BFFF ;;
esac
colour_near "$bar" "$expected" 12 || fail "the bar is #$bar, expected #$expected"
echo "ok bar #$bar"

click 1239 690  # close
wait_for_exit "$program_pid" || fail "the program did not end after the close button"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
