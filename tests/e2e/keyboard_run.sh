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
keep_shot() {
    if [ -n "${E2E_SCREENSHOT_DIR:-}" ]; then
        mkdir -p "$E2E_SCREENSHOT_DIR"
        screenshot "$E2E_SCREENSHOT_DIR/$1"
    fi
}

# Operation, the nine numbers, then Start.
keys $(printf 'Tab %.0s' $(seq 12))
keep_shot keyboard-start-focused.png
keys Return
# The run settings show from the first Start on: stop, and set 10 exercises on the track bar
# that follows the answer table.
keys Escape Tab $(printf 'Left %.0s' $(seq 15))
keep_shot keyboard-track-bar-focused.png
keys shift+Tab shift+Tab Return

save="$XDG_DATA_HOME/Kestrova/Save.dat"
for i in $(seq 10); do
    number=$(((i * 37) % 90 + 1))
    keys $(echo "$number" | sed 's/./& /g') Return
    [ "$i" -eq 3 ] && keep_shot keyboard-run-focus-cell.png
done
sleep 0.5

[ -f "$save" ] || fail "no Save.dat after the run: $(cat "$work/program.log")"
[ "$(stat -c %s "$save")" -eq 648 ] || fail "Save.dat is not 648 bytes"
byte() { od -An -tu1 -j "$1" -N1 "$save" | tr -d ' '; }
marks=$(byte 621)
[ "$marks" -eq 1 ] || fail "number 2 has $marks marks, expected 1"
mark=$(byte 450)
[ "$mark" -ge 1 ] && [ "$mark" -le 5 ] || fail "the mark is $mark"
answered=$(od -An -tu2 -j 60 -N 20 "$save" | awk '{ for (i = 1; i <= NF; ++i) s += $i } END { print s }')
[ "$answered" -eq 10 ] || fail "row 2 counts $answered answers, expected 10"
echo "ok mark $mark with 10 answers typed"

# From the table back past Start and the numbers, round to the close button.
keys $(printf 'shift+Tab %.0s' $(seq 13))
keep_shot keyboard-close-focused.png
keys Return
wait_for_exit "$program_pid" || fail "the program did not end after Enter on the close button"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
