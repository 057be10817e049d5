#!/usr/bin/env bash
# Several pupils on one account, in the real program: two pupils made on the command line, a
# run as each through the window (the second chosen in the pupil box), a restart that comes back
# to the pupil chosen last, a new pupil named in the dialog, and an idle close of a single
# pupil's program that leaves the data folder as it was.
# Usage: pupils.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
folder="$XDG_DATA_HOME/Kestrova"

click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.15
}
close_program() {
    click 1239 690
    wait_for_exit "$program_pid" || fail "the program did not end after the close button"
    program_pid=""
    [ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
}
# A run of 25 presses on the answer table, as in exercise_run.sh.
run_through_window() {
    click 314 36  # Start
    for i in $(seq 0 24); do
        click "$(awk -v c=$((i % 10 + 1)) 'BEGIN { printf "%d", 416 + (c - 0.5) * 78 * 0.99 }')" \
            "$(awk -v r=$((i / 10 + 1)) 'BEGIN { printf "%d", 87 + (r - 0.5) * 70 * 0.99 }')"
    done
    sleep 0.5
}
# The name in the pupil box as it shows now (inside the focus frame), as a checksum of its pixels.
box_pixels() {
    screenshot "$shot"
    convert "$shot" -crop 320x24+450+34 rgb:- | md5sum
}
# Opens the pupil box and picks with the keys: KEYS moves from the pupil shown. Tab then takes
# the focus on, so that the box looks as it does at a start.
pick_in_box() {
    click 626 46
    sleep 0.3
    xdotool key "$@" Return
    sleep 1
    xdotool key Tab
    sleep 0.2
}
folder_of() {
    grep -lx "$1" "$folder"/pupils/*/name.txt | xargs dirname
}
folder_state() {
    (cd "$1" && find . -type f -print0 | sort -z | xargs -0 -r md5sum)
}

# The pupils' commands are in --help, and need no display, also to say what is wrong.
help=$(env -u DISPLAY "$program" --help)
for option in "--pupil <name>" "--add-pupil <name>" "--rename-pupil <old>" "--remove-pupil <name>" \
    "--list-pupils"; do
    grep -qF -- "$option" <<<"$help" || fail "--help does not list $option"
done
status=0
env -u DISPLAY "$program" --add-pupil >"$work/output" 2>&1 || status=$?
[ "$status" -eq 1 ] && grep -qF "Missing value after '--add-pupil'." "$work/output" ||
    fail "--add-pupil without a name: status $status, $(cat "$work/output")"
echo "ok the pupils' commands in --help, and a mistake told without a display"

# An idle close of a single pupil's program leaves the folder byte for byte as it was.
start_program "$program"
close_program
before=$(folder_state "$folder")
start_program "$program"
keep_screenshot pupils-single
close_program
[ "$(folder_state "$folder")" = "$before" ] || fail "an idle close changed the data folder"
[ ! -e "$folder/pupils" ] || fail "a single pupil got a pupils folder"
echo "ok an idle close with one pupil left the folder as it was"

"$program" --add-pupil Anna >/dev/null || fail "--add-pupil Anna failed"
"$program" --add-pupil Boris >/dev/null || fail "--add-pupil Boris failed"
[ "$("$program" --list-pupils | tail -n 2 | tr '\n' ' ')" = "Anna Boris " ] ||
    fail "--list-pupils printed $("$program" --list-pupils)"
anna=$(folder_of Anna)
boris=$(folder_of Boris)
echo "ok two pupils: $anna, $boris"

# Anna's run, started as Anna.
"$program" --pupil anna >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window '^Form3$' >/dev/null || fail "no window for --pupil anna"
sleep 1
anna_box=$(box_pixels)
run_through_window
save="$anna/Save.dat"
[ "$(save_byte 621)" -eq 1 ] || fail "Anna's run is not in her Save.dat"
close_program
anna_saved=$(md5sum <"$anna/Save.dat")
echo "ok Anna's run in her own files"

# Boris, chosen in the box (Anna's next), runs too.
start_program "$program"
[ "$(box_pixels)" = "$anna_box" ] || fail "the program did not start with Anna, chosen last"
pick_in_box Down
boris_box=$(box_pixels)
[ "$boris_box" != "$anna_box" ] || fail "the box did not change to Boris"
run_through_window
save="$boris/Save.dat"
[ "$(save_byte 621)" -eq 1 ] || fail "Boris's run is not in his Save.dat"
close_program
[ "$(md5sum <"$anna/Save.dat")" = "$anna_saved" ] || fail "Boris's run changed Anna's files"
[ ! -e "$folder/Save.dat" ] || [ "$(od -An -tu1 -j 621 -N1 "$folder/Save.dat" | tr -d ' ')" -eq 0 ] ||
    fail "a run went into the first pupil's files"
echo "ok Boris's run in his own files, Anna's untouched"

# The restart comes back to Boris; a new pupil is named in the dialog and chosen at once.
start_program "$program"
[ "$(box_pixels)" = "$boris_box" ] || fail "the restart did not come back to Boris"
keep_screenshot pupils-two
click 626 46
sleep 0.3
xdotool key End Up Up Return
dialog=$(wait_for_window '^Новый ученик$') || fail "no dialog for the new pupil's name"
xdotool windowfocus --sync "$dialog" type --delay 50 "Vera"
keep_screenshot pupils-dialog
xdotool key Return
sleep 1
vera=$(folder_of Vera) || fail "no folder for Vera"
[ "$(cat "$folder/pupils/chosen.txt")" = "$(basename "$vera")" ] || fail "Vera was not chosen"
close_program
[ ! -e "$vera/Save.dat" ] || fail "a new pupil who did nothing got a Save.dat"
echo "ok a new pupil named in the dialog and chosen"
