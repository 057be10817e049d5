#!/usr/bin/env bash
# A rectangle, $(cell_rect ...), is handed on as four words.
# shellcheck disable=SC2046
# Press-to-pixels latency of the real program, measured from outside it: press_latency sends a
# mouse press or a key with XTest and reads the screen back until the watched pixels change.
# Measured for the statistics screen's button (the table switches between it and the answer
# table), a switch between the two operations on the statistics screen, a judged answer, the
# first entry into the game, a press on the game board and the first help page (F1), and held
# against a bare Qt window that paints a picture of the answer table's size on every press, on
# the same virtual screen in the same run, at every screen size given. Prints, per case, the
# first press, then the median and the largest of the presses after it (none for a case that
# happens once), and the ratios of the first press and of the median to the bare window's median.
# Usage: latency.sh KESTROVA BARE_PICTURE_WINDOW PRESS_LATENCY [PRESSES] [WIDTHxHEIGHT ...]
#   (default: 12 presses at 1280x727 and 3840x2160)
# Build them optimised first, e.g. with the bench preset:
#   cmake --preset bench && cmake --build --preset bench --target kestrova bare_picture_window press_latency
#   bench/latency/latency.sh build/bench/kestrova build/bench/bench/latency/bare_picture_window \
#       build/bench/bench/latency/press_latency
set -euo pipefail
program=$(realpath "$1")
bare=$(realpath "$2")
probe=$(realpath "$3")
presses=${4:-12}
shift $(($# < 4 ? $# : 4))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1280x727 3840x2160)
# shellcheck source=tests/e2e/xscreen.sh
source "$(dirname "$0")/../../tests/e2e/xscreen.sh"

# The rectangle of a cell of the answer table (Panel1 at (416, 87), drawn at 0.99: 78 x 70 units
# per cell), a little inside its edges, as X Y W H in screen pixels.
cell_rect() {
    local column=$1 row=$2 x0 y0 x1 y1
    read -r x0 y0 < <(at "$(awk -v c="$column" 'BEGIN { print 416 + ((c - 1) * 78 + 6) * 0.99 }')" \
        "$(awk -v r="$row" 'BEGIN { print 87 + ((r - 1) * 70 + 6) * 0.99 }')")
    read -r x1 y1 < <(at "$(awk -v c="$column" 'BEGIN { print 416 + (c * 78 - 6) * 0.99 }')" \
        "$(awk -v r="$row" 'BEGIN { print 87 + (r * 70 - 6) * 0.99 }')")
    echo "$x0 $y0 $((x1 - x0)) $((y1 - y0))"
}

# A rectangle of the design, as X Y W H in screen pixels.
design_rect() {
    local x0 y0 x1 y1
    read -r x0 y0 < <(at "$1" "$2")
    read -r x1 y1 < <(at "$(($1 + $3))" "$(($2 + $4))")
    echo "$x0 $y0 $((x1 - x0)) $((y1 - y0))"
}

cell_centre() {
    at "$(awk -v c="$1" 'BEGIN { print 416 + (c - 0.5) * 78 * 0.99 }')" \
        "$(awk -v r="$2" 'BEGIN { print 87 + (r - 0.5) * 70 * 0.99 }')"
}

click() {
    local x y
    read -r x y < <(at "$1" "$2")
    xdotool mousemove "$x" "$y" click 1
    sleep 0.3
}

# measure [--once] [PROBE OPTIONS] NAME X Y RX RY RW RH: presses at (X, Y) watching the
# rectangle; appends to the table. A button acts on its release: --click releases it at once;
# --key KEYSYM presses a key instead; --alternate X2 Y2 makes every second press there. --once
# measures a single press, for what happens only the first time.
measure() {
    local options=() count=$presses
    while [ "${1#--}" != "$1" ]; do
        case $1 in
            --once) count=1 ;;
            --click) options+=(--click) ;;
            --key) options+=(--key "$2") && shift ;;
            --alternate) options+=(--alternate "$2" "$3") && shift 2 ;;
        esac
        shift
    done
    local name=$1
    shift 1
    "$probe" "${options[@]}" "$1" "$2" "$count" 150 "$3" "$4" "$5" "$6" >"$work/$name.ms"
    grep -q timeout "$work/$name.ms" && fail "$name: a press changed nothing on the screen"
    local first rest="- -"
    first=$(head -n1 "$work/$name.ms")
    if [ "$count" -gt 1 ]; then
        rest=$(tail -n +2 "$work/$name.ms" | sort -n | awk '{ v[NR] = $1 } END {
            m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%.2f %.2f", m, v[NR] }')
    fi
    echo "$name $first $rest" >>"$work/results"
}

measure_at() {
    width=${1%x*}
    height=${1#*x}
    start_screen "$width" "$height"
    : >"$work/results"
    local cx cy

    # The bare window: a press anywhere on its picture repaints it.
    "$bare" >"$work/bare.log" 2>&1 &
    program_pid=$!
    wait_for_window '^Bare picture window$' >/dev/null || fail "no bare window appeared"
    sleep 1
    read -r cx cy < <(cell_centre 3 4)
    measure bare-window "$cx" "$cy" $(cell_rect 3 4)
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true

    rm -rf "$XDG_DATA_HOME/Kestrova"
    start_program "$program"
    sleep 0.5
    # The first help page: F1, while the start page shows, shows the instructions in its place.
    read -r cx cy < <(cell_centre 3 4)
    measure --once --key F1 help-page "$cx" "$cy" $(cell_rect 3 4)
    sleep 0.3
    # The statistics button switches the table between the help page and the statistics.
    read -r cx cy < <(at 122 689)
    measure --click statistics-switch "$cx" "$cy" $(cell_rect 3 4)
    [ $((presses % 2)) -eq 0 ] || click 122 689
    # On the statistics screen the operation buttons switch the table between multiplication
    # (the operands in column 1) and division (in column 10).
    click 122 689
    local ax ay
    read -r cx cy < <(at 121 104)
    read -r ax ay < <(at 121 40)
    measure --click --alternate "$ax" "$ay" operation-switch "$cx" "$cy" $(cell_rect 1 2)
    [ $((presses % 2)) -eq 0 ] || click 121 40
    click 122 689
    # A run: every press on the table is judged and shows the pressed cell pressed.
    click 314 36
    read -r cx cy < <(cell_centre 3 4)
    measure judged-answer "$cx" "$cy" $(cell_rect 3 4)
    click 314 36 # Stop
    # The game: its first entry shows the game's chart over the number buttons; then a press
    # selects a cell of the board, the next takes it back.
    local gx gy
    read -r gx gy < <(at 314 689)
    measure --once --click game-entry "$gx" "$gy" $(design_rect 40 300 60 60)
    sleep 0.3
    click 314 36
    measure game-press "$cx" "$cy" $(cell_rect 3 4)
    click 314 36 # Stop
    click 1239 690
    wait_for_exit "$program_pid" || fail "the program did not end after the close button"
    program_pid=""

    echo "screen ${width}x${height}, ${presses} presses each (load: $(cut -d' ' -f1-3 /proc/loadavg)), ms:"
    awk 'NR == 1 { bare = $3 }
        $3 == "-" { printf "  %-18s first %7.2f  (once)                            first/bare %.2f\n", $1, $2, $2 / bare; next }
        { printf "  %-18s first %7.2f  then median %6.2f  max %6.2f  first/bare %.2f  median/bare %.2f\n", $1, $2, $3, $4, $2 / bare, $3 / bare }' \
        "$work/results"
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}

for size in "${sizes[@]}"; do
    measure_at "$size"
done
