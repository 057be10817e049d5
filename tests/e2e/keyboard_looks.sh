#!/usr/bin/env bash
# The keys leave every control as the design draws it while a screen reader's bus is on: the
# whole window before the first key equals the window after a round of Tab through every
# control, Escape and a mouse click on the background, when no frame is shown any more.
# Usage: keyboard_looks.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

source "$here/private_bus.sh"

source "$here/xscreen.sh"

start_screen 1280 727
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$program"
xdotool windowfocus --sync "$window"
# A click on the background between the pupil box and the answer table, which works nothing.
click_background() {
    xdotool mousemove $(at 800 75) click 1
    sleep 0.5
}
click_background
keep_screenshot keyboard-looks-before
cp "$shot" "$work/before.png"

# Every control of the start screen takes the focus once, and the frame goes with a mouse click.
xdotool key --delay 80 $(printf 'Tab %.0s' $(seq 20))
sleep 0.3
keep_screenshot keyboard-looks-tabbed
click_background
keep_screenshot keyboard-looks-after

changed=$(compare -metric AE "$work/before.png" "$shot" "$work/difference.png" 2>&1 || true)
if [ "$changed" != 0 ]; then
    if [ -n "${E2E_SCREENSHOT_DIR:-}" ]; then
        cp "$work/difference.png" "$E2E_SCREENSHOT_DIR/keyboard-looks-difference.png"
    fi
    fail "after the keys $changed pixels differ from the window before them"
fi
echo "ok the window after a Tab round and a click is the window before the first key"
