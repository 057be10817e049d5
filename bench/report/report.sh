#!/usr/bin/env bash
# Times the PDF report of a class of 30 pupils with full statistics in both operations (generated
# by kestrova_sample_pupils): the medians of RUNS runs of the real program, of its processor time
# (user and system, which a busy machine changes less) against a goal of 0.5 s, and of its wall
# time; the file's size against a goal of 1 MB.
# Usage: bench/report/report.sh KESTROVA SAMPLE_PUPILS [RUNS]
set -euo pipefail
program=$1
sample_pupils=$2
runs=${3:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$sample_pupils" "$work/class" 30 7
processor=()
wall=()
TIMEFORMAT='%3R %3U %3S'
for _ in $(seq "$runs"); do
    measured=$({ time XDG_RUNTIME_DIR=$work "$program" --report "$work/class.pdf" \
        --data "$work/class" >/dev/null 2>&1; } 2>&1)
    read -r real user system <<<"$measured"
    wall+=("$real")
    processor+=("$(awk "BEGIN { printf \"%.3f\", $user + $system }")")
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
cpu=$(median "${processor[@]}")
pages=$(pdfinfo "$work/class.pdf" | sed -n 's/^Pages: *//p')
size=$(stat -c %s "$work/class.pdf")
echo "class of 30: median ${cpu} s of processor time (all: ${processor[*]}), median $(median "${wall[@]}") s" \
    "of wall time (all: ${wall[*]}), ${runs} runs, ${pages} pages, ${size} bytes"
status=0
if ! awk "BEGIN { exit !($cpu < 0.5) }"; then
    echo "more processor time than the goal of 0.5 s" >&2
    status=1
fi
if [ "$size" -ge 1000000 ]; then
    echo "larger than the goal of 1 MB" >&2
    status=1
fi
exit "$status"
