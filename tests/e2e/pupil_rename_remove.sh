#!/usr/bin/env bash
# Renaming and removal in the real window, before Start: the first pupil, who carries the
# account's name, is renamed in the dialog the box's item opens; another pupil is removed after
# the question, their folder going to the desktop's trash, and the first pupil comes back.
# Usage: pupil_rename_remove.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"

start_screen 1280 727
folder="$XDG_DATA_HOME/Kestrova"
"$program" --add-pupil Boris >/dev/null || fail "--add-pupil Boris failed"
boris=$(dirname "$(grep -lx Boris "$folder"/pupils/*/name.txt)")

# Runs a check again for up to 10 s, for what the window does after a key on a loaded machine.
eventually() {
    local _
    for _ in $(seq 50); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}
name_is() { [ "$(cat "$folder/name.txt" 2>/dev/null)" = "$1" ]; }
gone_to_trash() { [ ! -e "$boris" ] && [ -d "$XDG_DATA_HOME/Trash/files/$(basename "$boris")" ]; }

# Opens the pupil box and clicks its row ROW (0 the first), each 27 pixels high under the box.
pick() {
    xdotool mousemove 626 46 click 1
    sleep 0.4
    xdotool mousemove 600 $((76 + 27 * $1)) click 1
}

# The first pupil: renamed. The dialog opens on the name in use, all of it chosen.
start_program "$program"
# Rows: the first pupil, Boris, New pupil..., Rename.
pick 3
dialog=$(wait_for_window '^Переименование ученика$') || fail "no dialog for renaming the first pupil"
keep_screenshot pupil-rename-dialog
# Latin letters: xdotool types a letter the keyboard map lacks by mapping it for a moment, and
# a busy program may read the map after it is undone and lose the letter.
xdotool windowfocus --sync "$dialog" type --delay 40 "Mama"
xdotool key Return
eventually name_is "Mama" ||
    fail "the first pupil's new name was not kept: $(cat "$folder/name.txt" 2>&1)"
echo "ok the first pupil renamed in the window"

# Boris: a no to the question keeps him, a yes moves his folder to the trash.
pick 1
sleep 1
keep_screenshot pupil-boris
# Rows: the first pupil, Boris, New pupil..., Rename, Remove.
pick 4
question=$(wait_for_window '^Удаление ученика$') || fail "no question before removing Boris"
keep_screenshot pupil-remove-question
xdotool windowfocus --sync "$question" key Return
sleep 0.5
[ -d "$boris" ] || fail "Enter on the question, whose default is Cancel, removed Boris"
pick 4
question=$(wait_for_window '^Удаление ученика$') || fail "no question before removing Boris"
xdotool windowfocus --sync "$question" key shift+Tab space
eventually gone_to_trash || fail "Boris's folder is not moved to the trash"
[ -z "$(cat "$folder/pupils/chosen.txt")" ] || fail "the first pupil was not chosen after the removal"
keep_screenshot pupil-removed
echo "ok another pupil removed to the trash from the window, the first pupil back"
