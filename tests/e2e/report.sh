#!/usr/bin/env bash
# The report from the real program's command line, with no display: written with status 0, and
# each mistake a message and status 1 with nothing at the target. --open-report writes into the
# documents folder and hands the file to xdg-open (a stand-in here).
# Usage: report.sh PROGRAM SAMPLE_PUPILS
set -euo pipefail
program=$1
sample_pupils=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

"$sample_pupils" "$work/room" 3 5
mkdir -p "$work/out" "$work/bin" "$work/home/Documents"
printf '#!/bin/sh\necho "$1" >"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
        XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" \
        PATH="$work/bin:$PATH" timeout 60 "$program" "$@"
}

# arguments | status | a line the error output must contain
cases=(
    "--report $work/out/a.csv --data $work/room|0|"
    "--report $work/out/b.pdf --data $work/room --pupil мария --pupil boris --language en-US|0|"
    "--report $work/out/c.csv --data $work/nowhere|1|Kestrova: The folder \"$work/nowhere/\" does not exist."
    "--report $work/out/c.csv --data $work/room --pupil Dora|1|There is no pupil \"Dora\""
    "--report $work/out/c.txt --data $work/room|1|Kestrova: Unknown report format \"$work/out/c.txt\": give a file ending in .pdf, .html or .csv."
    "--report $work/out/c.csv --data $work/room --language de|1|Kestrova: Unknown language 'de': give ru, en-GB or en-US."
    "--report $work/none/c.csv --data $work/room|1|"
    "--data $work/room|1|Kestrova: --data and --language go with --report."
    "--report $work/out/c.csv --data $work/room/Save.dat|1|is a file, not a folder"
    "--report $work/out/c.csv --data $work/home|1|holds no pupils' data"
    "--report $work/out/c.csv --report $work/out/d.csv --data $work/room|1|Give one --report FILE"
    "--report $work/out/e.csv --data $work/room -platform xcb|0|"
)
for case in "${cases[@]}"; do
    IFS='|' read -r arguments expected_status expected_line <<<"$case"
    status=0
    # shellcheck disable=SC2086  # the arguments are split on purpose
    run $arguments >"$work/output" 2>"$work/errors" || status=$?
    if [ "$status" -ne "$expected_status" ]; then
        fail "'$arguments' ended with status $status, expected $expected_status: $(cat "$work/errors")"
    elif [ -n "$expected_line" ] && ! grep -qF -- "$expected_line" "$work/errors"; then
        fail "'$arguments' did not say '$expected_line'; it said: $(cat "$work/errors")"
    fi
done
[ "$(head -c 4 "$work/out/b.pdf" 2>/dev/null)" = "%PDF" ] || fail "no PDF was written"
grep -q "^Мария,multiplication,2,1," "$work/out/a.csv" || fail "the CSV lacks the rows of Мария"
[ ! -e "$work/out/c.csv" ] && [ ! -e "$work/out/c.txt" ] || fail "a failed report left a file"
[ "$(ls "$work/out")" = "$(printf 'a.csv\nb.pdf\ne.csv')" ] || fail "stray files: $(ls "$work/out")"
# An empty folder name is no folder (not the root).
status=0
run --report "$work/out/f.csv" --data '' 2>"$work/errors" >/dev/null || status=$?
[ "$status" -eq 1 ] && grep -qF -- "--data needs a folder" "$work/errors" ||
    fail "--data '' ended with $status: $(cat "$work/errors")"
# A file that cannot be read is told in the language asked for.
cp -r "$work/room" "$work/broken"
head -c 100 "$work/room/Save.dat" >"$work/broken/Save.dat"
run --report "$work/out/g.csv" --data "$work/broken" --language en-GB 2>"$work/errors" >/dev/null ||
    fail "a damaged file stopped the report: $(cat "$work/errors")"
grep -qF "Could not be read" "$work/errors" && ! grep -q "Не удалось" "$work/errors" ||
    fail "the skipped file was told as: $(cat "$work/errors")"

run --open-report --data "$work/room" --language en-GB >"$work/output" 2>"$work/errors" ||
    fail "--open-report ended with status $?: $(cat "$work/errors")"
opened=$(cat "$work/opened" 2>/dev/null || true)
case "$opened" in
    "$work/home/Documents/Progress report "????-??-??.pdf) ;;
    *) fail "--open-report opened '$opened'" ;;
esac
[ -n "$opened" ] && [ "$(head -c 4 "$opened")" = "%PDF" ] || fail "the opened report is no PDF"
# The same day again: the first report is kept, the second gets a number.
run --open-report --data "$work/room" --language en-GB >/dev/null 2>"$work/errors" ||
    fail "a second --open-report ended with status $?: $(cat "$work/errors")"
second=$(cat "$work/opened" 2>/dev/null || true)
[ "$second" = "${opened%.pdf} (2).pdf" ] && [ -f "$opened" ] ||
    fail "the second report of the day went to '$second'"
# A viewer that cannot be started is a failure.
printf '#!/bin/sh\nexit 3\n' >"$work/bin/xdg-open"
status=0
run --open-report --data "$work/room" --language en-GB >/dev/null 2>"$work/errors" || status=$?
[ "$status" -eq 1 ] && grep -qF "could not be opened" "$work/errors" ||
    fail "a failing viewer ended with status $status: $(cat "$work/errors")"

# The paper of LC_PAPER, also under LANG=C; names in the PDF's text as typed, without ligatures.
"$sample_pupils" "$work/nine" 9 5
LANG=C LC_PAPER=en_US.UTF-8 run --report "$work/nine.pdf" --data "$work/nine" >/dev/null 2>&1 ||
    fail "the report of nine pupils failed"
pdfinfo "$work/nine.pdf" | grep -q "(letter)" || fail "LC_PAPER=en_US did not give Letter paper"
[[ "$(pdftotext "$work/nine.pdf" -)" == *"Sofia — "* ]] || fail "the name Sofia is not in the PDF's text"

[ "$failures" -eq 0 ] && echo "ok the report's command line"
