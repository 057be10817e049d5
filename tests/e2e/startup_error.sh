#!/usr/bin/env bash
# A data folder that cannot be made stops the start: the program shows the error and, once it
# is confirmed, ends with status 1 without showing its window.
# Usage: startup_error.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
# The data folder would have to go inside a file.
rm -rf "$XDG_DATA_HOME"
echo "not a folder" >"$XDG_DATA_HOME"

"$program" >"$work/program.log" 2>&1 &
program_pid=$!

box=$(wait_for_window '^Kestrova$') || fail "no error message appeared"
if xdotool search --onlyvisible --name '^Form3$' >/dev/null 2>&1; then
    fail "the window was shown although the start failed"
fi
xdotool windowfocus --sync "$box" key Return
wait_for_exit "$program_pid" || fail "the program did not end after the message"
program_pid=""
status=$exit_status
[ "$status" -eq 1 ] || fail "the program ended with status $status after a failed start, expected 1"
echo "ok ended with status $status"
