#!/usr/bin/env bash
# The help pages in the real program: the start screen shows the title page with its
# multiplication table; the help button shows the instructions and is gone.
# Usage: help_pages.sh PROGRAM WIDTHxHEIGHT
set -euo pipefail
program=$1
width=${2%x*}
height=${2#*x}
source "$(dirname "$0")/xscreen.sh"

start_screen "$width" "$height"

# Screen pixel of a point of a help page: the grid panel lies at (416, 87) and shows its picture
# at 0.99 of its size.
on_page() {
    at "$(awk -v x="$1" 'BEGIN { print 416 + x * 0.99 }')" \
        "$(awk -v y="$2" 'BEGIN { print 87 + y * 0.99 }')"
}
# The share of the pixels of a page's rectangle (x, y, width, height) near a colour.
share_near() {
    local colour=$1 x=$2 y=$3 w=$4 h=$5 x0 y0 x1 y1
    read -r x0 y0 < <(on_page "$x" "$y")
    read -r x1 y1 < <(on_page $((x + w)) $((y + h)))
    convert "$shot" -crop "$((x1 - x0))x$((y1 - y0))+${x0}+${y0}" +repage -alpha off \
        -fuzz 12% -fill black -opaque "#$colour" -fill white +opaque black \
        -negate -format '%[fx:mean]' info:
}
more_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
less_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

start_program "$program"
read -r hx hy < <(at 860 20)
keep_screenshot "title-page-${width}x${height}"
colour_near "$(pixel "$shot" "$hx" "$hy")" 0084DA 40 || fail "no help button on the start screen"

# The title page: pure deep sky blue along the top, the blue row numbers of the table, the white
# title word.
read -r sx sy < <(on_page 40 14)
colour_near "$(pixel "$shot" "$sx" "$sy")" 00BFFF 10 || fail "the top of the title page is not deep sky blue"
row_numbers=$(share_near 0000FF 135 225 40 360)
more_than "$row_numbers" 0.03 || fail "no blue row numbers on the title page ($row_numbers)"
title=$(share_near FFFFFF 280 10 220 50)
more_than "$title" 0.1 || fail "no title word on the title page ($title)"
echo "ok the title page: row numbers $row_numbers, title word $title"

# The help button: the instructions replace the title page, and the button is gone.
xdotool mousemove "$hx" "$hy" click 1
for _ in $(seq 50); do
    sleep 0.2
    screenshot "$shot"
    less_than "$(share_near 0000FF 135 225 40 360)" 0.005 && break
done
keep_screenshot "instructions-${width}x${height}"
row_numbers=$(share_near 0000FF 135 225 40 360)
less_than "$row_numbers" 0.005 || fail "the table is still shown after the help button ($row_numbers)"
first_line=$(share_near FFFFFF 20 56 110 28)
more_than "$first_line" 0.05 || fail "no first line of the instructions ($first_line)"
colour_near "$(pixel "$shot" "$hx" "$hy")" FFFFFF 12 || fail "the help button is still shown"
echo "ok the instructions: first line $first_line, help button gone"

read -r cx cy < <(at 1239 690)
xdotool mousemove "$cx" "$cy" click 1
wait_for_exit "$program_pid" || fail "the program did not end after the close button"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
