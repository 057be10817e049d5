#!/usr/bin/env bash
# The pupils' commands of the real program, without a display: --data names the one folder they
# work on (and nothing else is touched), commands given at the same moment take turns and all
# succeed, and a pipe in the roster's place holds up neither a list nor a report.
# Usage: pupil_commands.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY
local_folder="$XDG_DATA_HOME/Kestrova"
usb="$work/usb/Kestrova"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
state() {
    (cd "$1" && find . -print0 | sort -z | xargs -0 -r stat -c '%n %s %Y' 2>/dev/null || true)
}
kestrova() {
    timeout 20 "$program" "$@"
}

# --data: the commands work on the folder named, and on nothing else.
kestrova --add-pupil Boris >/dev/null || fail "a local pupil could not be added"
mkdir -p "$usb"
kestrova --data "$usb" --add-pupil Boris >/dev/null || fail "--add-pupil --data failed"
kestrova --data "$usb" --add-pupil Clara >/dev/null || fail "--add-pupil --data failed"
local_before=$(state "$local_folder")
out=$(kestrova --remove-pupil Boris --data "$usb") || fail "--remove-pupil --data failed"
grep -q "Boris" <<<"$out" || fail "--remove-pupil said: $out"
kestrova --rename-pupil Clara Vera --data "$usb" >/dev/null || fail "--rename-pupil --data failed"
listed=$(kestrova --list-pupils --data "$usb" | tail -n +2)
[ "$listed" = "Vera" ] || fail "the folder given lists: $listed"
[ "$(state "$local_folder")" = "$local_before" ] || fail "the local folder changed"
kestrova --list-pupils | grep -qx Boris || fail "the local Boris is gone"
# The local list took the local folder's locks for a moment: its state from now on.
local_before=$(state "$local_folder")
# A folder that is not there is not made, and two folders are one too many.
status=0
err=$(kestrova --add-pupil Dora --data "$work/typo" 2>&1 >/dev/null) || status=$?
[ "$status" -eq 1 ] && [ ! -e "$work/typo" ] || fail "--data of a missing folder: $status, $err"
status=0
kestrova --list-pupils --data "$usb" --data "$local_folder" >/dev/null 2>&1 || status=$?
[ "$status" -eq 1 ] || fail "two --data folders for a pupils' command were taken"
[ "$(state "$local_folder")" = "$local_before" ] || fail "the local folder changed"

# Commands at the same moment take turns: every one succeeds.
pids=()
for n in 1 2 3 4 5 6 7 8; do
    kestrova --data "$usb" --add-pupil "Pupil $n" >"$work/add-$n.out" 2>&1 &
    pids+=($!)
done
for n in 1 2 3 4 5 6 7 8; do
    wait "${pids[$((n - 1))]}" || fail "command $n failed: $(cat "$work/add-$n.out")"
done
[ "$(kestrova --list-pupils --data "$usb" | grep -c '^Pupil ')" -eq 8 ] ||
    fail "not every pupil was added"

# A named pipe as the choice and as a name: the list and the report end at once.
pupil_folder=$(dirname "$(grep -lx Boris "$local_folder"/pupils/*/name.txt)")
rm -f "$local_folder/pupils/chosen.txt" "$pupil_folder/name.txt"
mkfifo "$local_folder/pupils/chosen.txt" "$pupil_folder/name.txt"
start=$(date +%s)
listed=$(kestrova --list-pupils) || fail "--list-pupils with pipes in the folder failed"
grep -qx "$(basename "$pupil_folder")" <<<"$listed" || fail "the pipe's pupil is not listed: $listed"
kestrova --report "$work/report.csv" >/dev/null 2>&1 || fail "--report with pipes in the folder failed"
[ $(($(date +%s) - start)) -lt 10 ] || fail "pipes held the commands up"
echo "pupils' commands: all checks passed"
