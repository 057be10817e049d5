#!/usr/bin/env bash
# Takes the screenshots of the README and of the software-centre entry: the real program on a
# virtual screen of the design's size (1280 x 727, one pixel per unit), one picture per screen,
# into docs/screenshots/NAME.png.
#
# Usage: scripts/screenshots.sh [--language ITEM] [--high-contrast] [PROGRAM]
#   ITEM     the language item to choose first: 0 Russian, 1 British (default), 2 American English
#   --high-contrast  the program in its high-contrast look, into docs/screenshots/high-contrast/
#   PROGRAM  the program to photograph; by default the release build, built first
#
# Every screen is a function shoot_NAME that brings the program from where the previous one left
# it to that screen; the list `screens` below gives their order. Screens share one program and
# one data folder, so later ones see the answers given in earlier ones. To add a screen, write
# its function (restart_program gives a fresh start screen with the data kept) and put its name
# in the list and in packaging/CMakeLists.txt, which shows the pictures in the software centre.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

language=1
if [ "${1:-}" = "--language" ]; then
    language=$2
    shift 2
fi
high_contrast=""
if [ "${1:-}" = "--high-contrast" ]; then
    high_contrast=1
    shift
fi
program=${1:-}
if [ -z "$program" ]; then
    "$root/scripts/install-deps.sh"
    (cd "$root" && cmake --preset release >/dev/null && cmake --build --preset release --target kestrova)
    program=$root/build/release/kestrova
fi
program=$(realpath "$program")
out=$root/docs/screenshots
if [ -n "$high_contrast" ]; then
    out=$out/high-contrast
fi

screens=(start help-title help-instructions run error-correction statistics help-rules game)

# shellcheck source=tests/e2e/xscreen.sh
source "$root/tests/e2e/xscreen.sh"

close_program() {
    click 1239 690
    wait_for_exit "$program_pid" || fail "the program did not end after the close button"
    program_pid=""
}

restart_program() {
    close_program
    start_program "$program"
}

click() {
    xdotool mousemove "$1" "$2" click 1
    sleep 0.2
}

# Waits until two screenshots a moment apart agree (a running clock may still tick), then keeps
# the last one as docs/screenshots/NAME.png, or the part CROP (WxH+X+Y) of it.
keep() {
    local name=$1 crop=${2:-} previous="" current
    for _ in $(seq 25); do
        screenshot "$work/frame.png"
        current=$(convert "$work/frame.png" rgb:- | md5sum)
        [ "$current" = "$previous" ] && break
        previous=$current
        sleep 0.2
    done
    mkdir -p "$out"
    if [ -n "$crop" ]; then
        convert "$work/frame.png" -crop "$crop" +repage -strip "$out/$name.png"
    else
        convert "$work/frame.png" -strip "$out/$name.png"
    fi
    echo "kept docs/screenshots/$name.png"
}

# The start screen, in the chosen language. The language can be chosen here only, before the
# first run; it is saved, so later starts keep it.
shoot_start() {
    if [ "$language" != 0 ]; then
        click 1119 46  # the language box opens its list on the current item
        for _ in $(seq "$language"); do
            xdotool key Down
        done
        xdotool key Return
        sleep 0.3
    fi
    xdotool mousemove 640 700  # no hover look on the shot
    keep start
}

# The title page alone: the picture in Panel1 (783 x 632 at (416, 87)) on the start screen.
shoot_help-title() {
    keep help-title 783x632+416+87
}

# The instructions, from the help button of the start screen (Button18 at (848, 8), 180 x 56),
# which is there only until the first Start.
shoot_help-instructions() {
    click 938 36
    xdotool mousemove 640 700
    keep help-instructions
}

# Clicks cell N (1 to 90, row by row) of the answer table or the game's board: Panel1 at
# (416, 87), drawn at 0.99 of its size, 78 x 70 units per cell.
click_cell() {
    click "$(awk -v c="$1" 'BEGIN { printf "%d", 416 + ((c - 1) % 10 + 0.5) * 78 * 0.99 }')" \
        "$(awk -v c="$1" 'BEGIN { printf "%d", 87 + (int((c - 1) / 10) + 0.5) * 70 * 0.99 }')"
}

# A run in progress: Start, then a few answers clicked in the answer table, some of them right
# by chance, the others kept as errors for error correction. The run is stopped afterwards.
shoot_run() {
    click 314 36
    local cell
    for cell in 12 3 47 16 8 25 64 10; do
        click_cell "$cell"
    done
    xdotool mousemove 640 20
    keep run
    click 314 36 # Stop
}

# Error correction switched on (Button at (32, 595), 180 x 56) after the run's wrong answers; it
# is switched off again afterwards.
shoot_error-correction() {
    click 122 623
    xdotool mousemove 640 700
    keep error-correction
    click 122 623
}

# The statistics of the answers given so far (the button at (32, 661)); left afterwards.
shoot_statistics() {
    click 122 689
    xdotool mousemove 640 700
    keep statistics
    click 122 689
}

# Game mode (the button at (224, 661)), then the game's help button (at (224, 595)), which is
# there until the first level: the rules with their worked example.
shoot_help-rules() {
    click 314 689
    click 314 623
    xdotool mousemove 640 700
    keep help-rules
}

# Three levels of the game, each started, left to the program for a moment and stopped (presses
# of cells at random would only cost the pupil points); the level chart and the totals chart then
# show the levels played.
shoot_game() {
    for _ in 1 2 3; do
        click 314 36 # Start the level
        sleep 1
        click 314 36 # Stop
    done
    xdotool mousemove 640 700
    keep game
    click 314 689 # Out of the game
}

start_screen 1280 727
if [ -n "$high_contrast" ]; then
    # The program under a name of its own that starts it in the high-contrast look, whose Start
    # button is light.
    printf '#!/bin/sh\nexec "%s" --high-contrast "$@"\n' "$program" >"$work/high-contrast"
    chmod +x "$work/high-contrast"
    program=$work/high-contrast
    export FIRST_FRAME_COLOUR=F5F5F5
fi
start_program "$program"
for screen in "${screens[@]}"; do
    "shoot_$screen"
done
close_program
