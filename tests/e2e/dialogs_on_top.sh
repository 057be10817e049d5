#!/usr/bin/env bash
# Under a window manager, with the program full screen: a second copy's message is shown by the
# first copy as a dialog of its window, over it and with the keyboard, and the new pupil's dialog
# takes the keys typed without a click.
# Usage: dialogs_on_top.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/xscreen.sh"
if ! command -v openbox >/dev/null || ! command -v xprop >/dev/null; then
    echo "missing openbox or xprop: run scripts/install-deps.sh" >&2
    exit 1
fi

start_screen 1280 727
folder="$XDG_DATA_HOME/Kestrova"
openbox --config-file /dev/null >"$work/openbox.log" 2>&1 &
manager_pid=$!
trap 'kill "$manager_pid" 2>/dev/null || true; cleanup' EXIT
sleep 1

# Whether the window is above the other in the manager's stacking order.
stacked_above() {
    local upper=$1 lower=$2 stacking
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' |
        while read -r id; do printf '%d\n' "$id"; done)
    awk -v u="$upper" -v l="$lower" '$1 == u { up = NR } $1 == l { low = NR }
        END { exit !(up && low && up > low) }' <<<"$stacking"
}
active_is() {
    local expected=$1 active
    for _ in $(seq 30); do
        active=$(xdotool getactivewindow 2>/dev/null || true)
        [ "$active" = "$expected" ] && return 0
        sleep 0.1
    done
    return 1
}

start_program "$program"
active_is "$window" || fail "the program's window did not get the keyboard"

# The second copy calls the first one, which shows the message over its own window (a dialog of
# the full-screen window, which compositors show over it), and ends at once.
"$program" >"$work/second.log" 2>&1 &
second_pid=$!
box=$(wait_for_window '^Kestrova$') || fail "no message for the second copy"
wait_for_exit "$second_pid" || fail "the second copy did not end while the first one showed the message"
[ "$exit_status" -eq 0 ] || fail "the second copy ended with status $exit_status"
sleep 0.5
keep_screenshot dialogs-second-copy
[ "$(xdotool getwindowpid "$box")" = "$program_pid" ] || fail "the message is not the first copy's"
xprop -id "$box" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$window")" ||
    fail "the message is not a dialog of the window: $(xprop -id "$box" WM_TRANSIENT_FOR)"
stacked_above "$box" "$window" || fail "the message is behind the full-screen window"
active_is "$box" || fail "the message has not got the keyboard"
xdotool key Return
sleep 0.5
! xdotool search --onlyvisible --name '^Kestrova$' >/dev/null 2>&1 || fail "Enter left the message open"
echo "ok the second copy's message shows over the window, as its dialog, with the keyboard"

# A copy that cannot reach the first one (here: another runtime folder) says it itself.
mkdir -p "$work/other-runtime"
chmod 700 "$work/other-runtime"
XDG_RUNTIME_DIR="$work/other-runtime" "$program" >"$work/third.log" 2>&1 &
third_pid=$!
box=$(wait_for_window '^Kestrova$') || fail "a copy that reached no other copy showed no message"
[ "$(xdotool getwindowpid "$box")" = "$third_pid" ] || fail "the message is not the copy's own"
xdotool windowactivate --sync "$box" key Return
wait_for_exit "$third_pid" || fail "the copy did not end after its own message"
[ "$exit_status" -eq 0 ] || fail "the copy ended with status $exit_status"
echo "ok a copy that reaches no other copy shows the message itself"

# The new pupil's dialog takes the name typed straight away.
active_is "$window" || xdotool windowactivate --sync "$window"
xdotool mousemove $(at 626 46) click 1
sleep 0.5
xdotool mousemove $(at 600 95) click 1
dialog=$(wait_for_window '^Новый ученик$') || fail "no dialog for the new pupil's name"
sleep 0.3
keep_screenshot dialogs-new-pupil
active_is "$dialog" || fail "the new pupil's dialog has not got the keyboard"
xdotool type --delay 50 "Vera"
xdotool key Return
sleep 1
grep -qx "Vera" "$folder"/pupils/*/name.txt 2>/dev/null || fail "the name typed did not reach the dialog"
echo "ok the new pupil's dialog took the name typed without a click"
