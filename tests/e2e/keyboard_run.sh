#!/usr/bin/env bash
# A whole run from the keyboard alone in the real program: Tab to Start, a first run stopped with
# Escape, the exercise count set to 10 with the arrows, a run of 10 answers typed as numbers, and
# its mark in Save.dat; then Shift+Tab round to the close button.
# Usage: keyboard_run.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
start_program "$program"
xdotool windowfocus --sync "$window"

keys() {
    xdotool key --delay 60 "$@"
    sleep 0.2
}
# Operation, the nine numbers, then Start.
keys $(printf 'Tab %.0s' $(seq 12))
keep_screenshot keyboard-start-focused
keys Return
# The run settings show from the first Start on, right of Start above the answer table: stop, and
# set 10 exercises on the upper track bar; Start comes right before it.
keys Escape shift+Tab shift+Tab $(printf 'Left %.0s' $(seq 15))
keep_screenshot keyboard-track-bar-focused
keys shift+Tab Return

for i in $(seq 10); do
    number=$(((i * 37) % 90 + 1))
    keys $(echo "$number" | sed 's/./& /g') Return
    [ "$i" -eq 3 ] && keep_screenshot keyboard-run-focus-cell
done
sleep 0.5

expect_run_saved 10
echo "ok mark $mark with 10 answers typed"

# From the table back past the run settings, Start and the numbers, round to the close button.
keys $(printf 'shift+Tab %.0s' $(seq 15))
keep_screenshot keyboard-close-focused
keys Return
wait_for_exit "$program_pid" || fail "the program did not end after Enter on the close button"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
