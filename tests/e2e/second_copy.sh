#!/usr/bin/env bash
# A second copy started for the same pupil's folder tells the pupil that the program is already
# open and ends with status 0, leaving the folder and the first copy as they were. A copy that
# was killed leaves a lock that the next start takes over.
# Usage: second_copy.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
folder="$XDG_DATA_HOME/Kestrova"
# The folder's files, with their contents, as one text to compare.
folder_state() {
    (cd "$folder" && find . -type f -print0 | sort -z | xargs -0 -r md5sum)
}
close_program() {
    xdotool mousemove 1239 690 click 1
    wait_for_exit "$program_pid" || fail "the program did not end after the close button"
    program_pid=""
    [ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
}

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
first=$(wait_for_window '^Form3$') || fail "the first copy showed no window"
[ -f "$folder/kestrova.lock" ] || fail "the first copy holds no lock in the data folder"
before=$(folder_state)

"$program" >"$work/second.log" 2>&1 &
second_pid=$!
box=$(wait_for_window '^Kestrova$') || fail "the second copy showed no message"
keep_screenshot second-copy
[ "$(xdotool search --onlyvisible --name '^Form3$' | wc -l)" -eq 1 ] ||
    fail "the second copy showed a window of its own"
xdotool windowfocus --sync "$box" key Return
wait_for_exit "$second_pid" || fail "the second copy did not end after its message"
[ "$exit_status" -eq 0 ] || fail "the second copy ended with status $exit_status, expected 0"
[ "$(folder_state)" = "$before" ] || fail "the second copy changed the data folder"
kill -0 "$program_pid" 2>/dev/null || fail "the first copy ended"
echo "ok the second copy told the pupil and ended with status 0, the folder untouched"
close_program
[ ! -e "$folder/kestrova.lock" ] || fail "the lock stayed after the program ended"

# A copy killed outright leaves its lock behind; the next start takes it over.
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window '^Form3$' >/dev/null || fail "no window after a normal end"
kill -KILL "$program_pid"
wait "$program_pid" 2>/dev/null || true
[ -f "$folder/kestrova.lock" ] || fail "a killed copy left no lock to take over"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window '^Form3$' >/dev/null || fail "the program did not start after a killed copy"
if xdotool search --onlyvisible --name '^Kestrova$' >/dev/null 2>&1; then
    fail "the killed copy's lock was taken for a running copy"
fi
close_program
echo "ok the lock of a killed copy was taken over"
