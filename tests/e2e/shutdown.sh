#!/usr/bin/env bash
# The real program at the end of a session: answers of a stopped run, which a close writes, are
# written also at SIGTERM (a logout or shutdown) and when the connection to the display breaks.
# At the start: the pupil chosen last whose Save.dat cannot be read leaves the window to the
# first pupil, and --pupil says when the choice cannot be kept.
# Usage: shutdown.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
folder="$XDG_DATA_HOME/Kestrova"
save="$folder/Save.dat"

click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.15
}
# Start, five presses on the answer table, Stop: the answers wait for the close to be written.
stopped_run() {
    click 314 36
    for c in 1 2 3 4 5; do
        click "$(awk -v c=$c 'BEGIN { printf "%d", 416 + (c - 0.5) * 78 * 0.99 }')" 121
    done
    click 314 36
    sleep 0.5
}
answers_of_two() {
    od -An -tu2 -j 60 -N 20 "$save" | awk '{ for (i = 1; i <= NF; ++i) s += $i } END { print s + 0 }'
}
# The message box before the window: its text went to the log too; Return confirms it.
confirm_message() {
    sleep 2
    xdotool key Return
}

# --pupil with a choice that cannot be kept: said, and the program starts as the pupil asked.
env -u DISPLAY "$program" --add-pupil Boris >/dev/null
mkdir -p "$folder/pupils/chosen.txt.writing"
"$program" --pupil Boris >"$work/program.log" 2>&1 &
program_pid=$!
confirm_message
grep -q "pupils/chosen.txt (" "$work/program.log" || fail "--pupil did not tell the choice was not kept"
wait_for_window '^Form3$' >/dev/null || fail "no window after the message"
kill "$program_pid"
wait_for_exit "$program_pid" || fail "the program did not end"
rmdir "$folder/pupils/chosen.txt.writing"

# Boris chosen last, his Save.dat a folder: the first pupil gets the window, with the message.
env -u DISPLAY "$program" --pupil Boris --list-pupils >/dev/null 2>&1 || true
boris=$(dirname "$(grep -lx Boris "$folder"/pupils/*/name.txt)")
echo "$(basename "$boris")" >"$folder/pupils/chosen.txt"
mkdir "$boris/Save.dat"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
confirm_message
wait_for_window '^Form3$' >/dev/null || fail "the first pupil got no window"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(cat "$work/program.log")"
kill "$program_pid"
wait_for_exit "$program_pid" || fail "the program did not end"
rmdir "$boris/Save.dat"
echo "" >"$folder/pupils/chosen.txt"
rm -rf "$folder/pupils"

# SIGTERM after a stopped run.
rm -f "$save"
start_program "$program"
stopped_run
[ ! -e "$save" ] || fail "the stopped run was written before the end"
kill -TERM "$program_pid"
wait_for_exit "$program_pid" || fail "the program did not end at SIGTERM"
program_pid=""
[ -f "$save" ] || fail "SIGTERM lost the stopped run's answers"
after_term=$(answers_of_two)
[ "$after_term" -eq 5 ] || fail "Save.dat counts $after_term answers, expected 5"

# The display's connection breaks after a stopped run.
start_program "$program"
stopped_run
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
wait_for_exit "$program_pid" || fail "the program did not end without its display"
program_pid=""
[ "$(answers_of_two)" -eq 10 ] || fail "the broken display lost the answers: $(answers_of_two)"
echo "shutdown: all checks passed"
