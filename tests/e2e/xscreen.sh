# Shared by the end-to-end scripts: a private virtual X screen, and pixels of screenshots.
# Source it, then call start_screen WIDTH HEIGHT. Everything lives in $work and goes at exit.

for tool in Xvfb xdotool import convert awk; do
    if ! command -v "$tool" >/dev/null; then
        echo "missing $tool: run scripts/install-deps.sh" >&2
        exit 1
    fi
done

# In a sanitized build, what system libraries keep until the end is no leak of the program.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

work=$(mktemp -d)
xvfb_pid=""
program_pid=""

cleanup() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/program.log" ]; then
        echo "--- the program's output:" >&2
        cat "$work/program.log" >&2
    fi
    if [ -s "$work/xvfb.log" ]; then
        echo "--- the virtual screen's output:" >&2
        cat "$work/xvfb.log" >&2
    fi
    if [ -n "$program_pid" ] && ! kill -0 "$program_pid" 2>/dev/null; then
        local status=0
        wait "$program_pid" || status=$?
        echo "--- the program had ended with status $status" >&2
        program_pid=""
    fi
    exit 1
}

# A screen of the given size on a display number the server picks itself, so that parallel runs
# never share one. The server must not reset when its last client leaves (the readiness check
# below is such a client): a program connecting during the reset is refused. A screen that
# cannot be reached is given up for another one.
start_screen() {
    local width=$1 height=$2 attempt
    for attempt in 1 2 3 4 5; do
        if try_screen "$width" "$height"; then
            export QT_QPA_PLATFORM=xcb
            export XDG_DATA_HOME="$work/data"
            export XDG_RUNTIME_DIR="$work/runtime"
            mkdir -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
            chmod 700 "$XDG_RUNTIME_DIR"
            set_design_scale "$width" "$height"
            return 0
        fi
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    done
    fail "no virtual screen could be started"
}

# The design is scaled to fit the screen with its aspect kept, and centred.
set_design_scale() {
    read -r scale left top < <(awk -v w="$1" -v h="$2" 'BEGIN {
        s = w / 1280; if (h / 727 < s) s = h / 727
        printf "%.6f %.6f %.6f\n", s, (w - 1280 * s) / 2, (h - 727 * s) / 2 }')
}

# Screen pixel of a point of the design.
at() {
    awk -v s="$scale" -v l="$left" -v t="$top" -v x="$1" -v y="$2" \
        'BEGIN { printf "%d %d\n", l + x * s, t + y * s }'
}

# Starts the program on the screen and waits for its window and its first frame (the Start
# button's blue, or FIRST_FRAME_COLOUR); sets program_pid, window and shot.
start_program() {
    "$1" >"$work/program.log" 2>&1 &
    program_pid=$!
    window=$(wait_for_window '^Form3$') || fail "no window named Form3 appeared"
    shot="$work/screen.png"
    local x y
    read -r x y < <(at 240 16)
    for _ in $(seq 100); do
        screenshot "$shot"
        colour_near "$(pixel "$shot" "$x" "$y")" "${FIRST_FRAME_COLOUR:-0084DA}" 40 && return 0
        sleep 0.2
    done
    fail "the window showed no first frame"
}

# Takes a screenshot into $shot and keeps it as NAME.png in $E2E_SCREENSHOT_DIR, when that is set.
keep_screenshot() {
    shot=${shot:-$work/screen.png}
    screenshot "$shot"
    if [ -n "${E2E_SCREENSHOT_DIR:-}" ]; then
        mkdir -p "$E2E_SCREENSHOT_DIR"
        cp "$shot" "$E2E_SCREENSHOT_DIR/$1.png"
    fi
}

# Checks Save.dat after one finished run on number 2 of multiplication with ANSWERS answers:
# one mark, a mark from 1 to 5, and the answers counted in row 2. Sets save and mark.
expect_run_saved() {
    local expected=$1 marks answered
    save="$XDG_DATA_HOME/Kestrova/Save.dat"
    [ -f "$save" ] || fail "no Save.dat after the run: $(cat "$work/program.log")"
    [ "$(stat -c %s "$save")" -eq 648 ] || fail "Save.dat is not 648 bytes"
    marks=$(save_byte 621)
    [ "$marks" -eq 1 ] || fail "number 2 has $marks marks, expected 1"
    mark=$(save_byte 450)
    [ "$mark" -ge 1 ] && [ "$mark" -le 5 ] || fail "the mark is $mark"
    answered=$(od -An -tu2 -j 60 -N 20 "$save" | awk '{ for (i = 1; i <= NF; ++i) s += $i } END { print s }')
    [ "$answered" -eq "$expected" ] || fail "row 2 counts $answered answers, expected $expected"
}

# A byte of Save.dat, as a number.
save_byte() { od -An -tu1 -j "$1" -N1 "$save" | tr -d ' '; }

try_screen() {
    local width=$1 height=$2
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [ -s "$work/display" ]; then
            break
        fi
        sleep 0.1
    done
    [ -s "$work/display" ] || return 1
    export DISPLAY=":$(head -n1 "$work/display")"
    [ "$(xdotool getdisplaygeometry 2>/dev/null)" = "$width $height" ]
}

# The id of the first window with the given name, waiting up to 30 s for it.
wait_for_window() {
    local name=$1 id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Waits up to 30 s for a process to end; its exit status is then in $exit_status. Call it in
# this shell, not in a command substitution: only the shell that started a process can wait for it.
wait_for_exit() {
    local pid=$1
    exit_status=""
    for _ in $(seq 300); do
        if ! kill -0 "$pid" 2>/dev/null; then
            exit_status=0
            wait "$pid" || exit_status=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

screenshot() {
    import -window root "$1"
}

# The colour of one pixel of a picture as RRGGBB.
pixel() {
    local picture=$1 x=$2 y=$3
    convert "$picture" -crop "1x1+${x}+${y}" -depth 8 txt:- | tail -n1 |
        grep -o '#[0-9A-Fa-f]\{6\}' | head -n1 | tr -d '#' | tr 'a-f' 'A-F'
}

# Whether two RRGGBB colours differ by at most the tolerance in every channel.
colour_near() {
    local actual=$1 expected=$2 tolerance=$3
    local i a e
    for i in 0 2 4; do
        a=$((16#${actual:i:2}))
        e=$((16#${expected:i:2}))
        if [ $((a > e ? a - e : e - a)) -gt "$tolerance" ]; then
            return 1
        fi
    done
}
