#!/usr/bin/env bash
# The pupil box's list with 30 pupils in the real program: it opens below the box, inside the
# screen, even when the pupil shown is near the end of the list; the first pupil is right under
# the box; the list's scroll bar, dragged with the mouse, brings its last rows, "New pupil..."
# among them, into reach.
# Usage: pupil_list.sh PROGRAM [WIDTHxHEIGHT]
set -euo pipefail
program=$1
size=${2:-1280x727}
source "$(dirname "$0")/xscreen.sh"

start_screen "${size%x*}" "${size#*x}"
folder="$XDG_DATA_HOME/Kestrova"
for i in $(seq 2 30); do
    "$program" --add-pupil "Pupil $i" >/dev/null || fail "--add-pupil 'Pupil $i' failed"
done

click_at() {
    xdotool mousemove $(at "$1" "$2") click 1
    sleep 0.3
}
open_list() {
    click_at 626 46
    sleep 0.5
}
no_dialog() {
    ! xdotool search --onlyvisible --name '^Новый ученик$' >/dev/null 2>&1
}

# Drags the list's scroll bar, at its right edge, from a point of the design to another.
drag_scroll_bar() {
    local x y to
    read -r x y < <(at 798 "$1")
    read -r _ to < <(at 798 "$2")
    xdotool mousemove "$x" "$y" mousedown 1
    sleep 0.2
    xdotool mousemove "$x" $(((y + to) / 2)) mousemove "$x" "$to"
    sleep 0.2
    xdotool mouseup 1
    sleep 0.3
}

# "Pupil 9" comes last of the pupils by name: a list that put the pupil shown on the box would
# begin far above the screen. This one begins under the box and shows the pupil shown.
"$program" --pupil "Pupil 9" >"$work/program.log" 2>&1 &
program_pid=$!
window=$(wait_for_window '^Form3$') || fail "no window for --pupil 'Pupil 9'"
sleep 1
open_list
keep_screenshot pupil-list-opened
# Scrolled to its top, the first row right under the box is the first pupil.
drag_scroll_bar 400 0
click_at 600 76
sleep 1
no_dialog || fail "the first row under the box was New pupil..., not the first pupil"
[ -z "$(cat "$folder/pupils/chosen.txt")" ] ||
    fail "the first row under the box did not choose the first pupil: $(cat "$folder/pupils/chosen.txt")"
echo "ok the list opens below the box, and its top row is the first pupil"

# Scrolled to its bottom, the last rows are New pupil... and renaming the first pupil.
open_list
drag_scroll_bar 110 727
keep_screenshot pupil-list-scrolled
click_at 600 670
dialog=$(wait_for_window '^Новый ученик$') || fail "New pupil... could not be reached with the mouse"
xdotool windowfocus --sync "$dialog" key Escape
sleep 0.5
echo "ok New pupil... reached through the list's scroll bar"
