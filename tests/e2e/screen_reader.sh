#!/usr/bin/env bash
# The real program with a screen reader's client on AT-SPI: a D-Bus session of its own with the
# accessibility bus (started on demand from Debian's at-spi2-core), the program forced to speak
# to it, and screen_reader.py, which finds the controls under the window, runs 10 exercises to
# their mark through the accessibility tree alone and presses a hidden button; then the mark in
# Save.dat.
# Usage: screen_reader.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

source "$here/private_bus.sh"

# Debian's python3, which has the GObject bindings, whatever python3 comes first in PATH.
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! "$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
    echo "missing python3-gi or gir1.2-atspi-2.0: run scripts/install-deps.sh" >&2
    exit 1
fi

source "$here/xscreen.sh"

start_screen 1280 727
# Qt speaks to the accessibility bus only where a screen reader is said to run, or when forced.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$program"

timeout 90 "$python" "$here/screen_reader.py" "$program_pid" ||
    fail "the screen reader's client failed"

expect_run_saved 10
echo "ok: a run of 10 answered through the accessibility tree, mark $mark"
