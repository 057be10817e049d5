#!/usr/bin/env bash
# Times the PDF report of a class of 30 pupils with full statistics in both operations (generated
# by kestrova_sample_pupils), the median of RUNS runs of the real program, against a goal of 2 s.
# Usage: bench/report/report.sh KESTROVA SAMPLE_PUPILS [RUNS]
set -euo pipefail
program=$1
sample_pupils=$2
runs=${3:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$sample_pupils" "$work/class" 30 7
times=()
for _ in $(seq "$runs"); do
    start=$(date +%s.%N)
    XDG_RUNTIME_DIR=$work "$program" --report "$work/class.pdf" --data "$work/class" >/dev/null
    end=$(date +%s.%N)
    times+=("$(awk "BEGIN { printf \"%.3f\", $end - $start }")")
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
pages=$(pdfinfo "$work/class.pdf" | sed -n 's/^Pages: *//p')
size=$(stat -c %s "$work/class.pdf")
echo "class of 30: median ${median} s of ${runs} runs (all: ${times[*]}), ${pages} pages, ${size} bytes"
if ! awk "BEGIN { exit !($median < 2) }"; then
    echo "slower than the goal of 2 s" >&2
    exit 1
fi
