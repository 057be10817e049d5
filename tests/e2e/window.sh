#!/usr/bin/env bash
# The real program on a virtual screen of the given size: it fills the screen with its design
# (background gradient, blue buttons, dark panels, each where the design puts it) and the close
# button ends it with status 0.
# Usage: window.sh PROGRAM WIDTHxHEIGHT
set -euo pipefail
program=$1
width=${2%x*}
height=${2#*x}
source "$(dirname "$0")/xscreen.sh"

start_screen "$width" "$height"


"$program" >"$work/program.log" 2>&1 &
program_pid=$!

window=$(wait_for_window '^Form3$') || fail "no window named Form3 appeared"
geometry=$(xdotool getwindowgeometry "$window")
echo "$geometry" | grep -q "Position: 0,0" || fail "window not at the screen's corner: $geometry"
echo "$geometry" | grep -q "Geometry: ${width}x${height}" || fail "window does not fill the screen: $geometry"

# Wait for the first frame: the Start button's blue.
shot="$work/screen.png"
read -r bx by < <(at 240 16)
for _ in $(seq 100); do
    screenshot "$shot"
    if colour_near "$(pixel "$shot" "$bx" "$by")" 0084DA 40; then
        break
    fi
    sleep 0.2
done
keep_screenshot "window-${width}x${height}"

# name, design x, design y, expected colour, tolerance
checks=(
    "background-top 1240 2 FFFFFF 8"
    "background-bottom 1240 724 C5BCBC 8"
    "start-button 240 16 0084DA 40"
    "statistics-button 40 700 0070C0 40"
    "close-button-outside-its-panel 1210 710 006AB7 40"
    "number-panel 18 300 252525 6"
    "grid-panel-edge 1196 400 252525 6"
    "exercises-progress-track 1256 300 393939 6"
)
for check in "${checks[@]}"; do
    read -r name x y expected tolerance <<<"$check"
    read -r sx sy < <(at "$x" "$y")
    actual=$(pixel "$shot" "$sx" "$sy")
    colour_near "$actual" "$expected" "$tolerance" ||
        fail "$name at $sx,$sy is #$actual, expected about #$expected"
    echo "ok $name #$actual"
done

# The close button: window 1202..1277 by 662..719 in the design.
read -r cx cy < <(at 1239 690)
xdotool mousemove "$cx" "$cy" click 1
wait_for_exit "$program_pid" || fail "the program did not end after the close button"
program_pid=""
status=$exit_status
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/program.log")"
echo "ok closed with status 0"
