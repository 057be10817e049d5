#!/usr/bin/env bash
# The real program's command line: --help and --version print and end with status 0 even without
# a display, as desktop programs do; an unknown option or an argument ends it with status 1 and
# a message, before any window is shown.
# Usage: command_line.sh PROGRAM VERSION
set -euo pipefail
program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# arguments | platform ("none": no display at all) | status | a line the output must contain
cases=(
    "--version|none|0|Kestrova $version"
    "-v|none|0|Kestrova $version"
    "--version|none|0|Licence GPL-3.0-or-later: the GNU General Public License, version 3 or later."
    "--help|none|0|Multiplication tables simulator + Logical game"
    "-h|none|0|  -v, --version          Displays version information."
    "--help-all|offscreen|0|  --platform <platformName[:options]>  QPA plugin. See QGuiApplication"
    "--no-such-option|offscreen|1|Kestrova: Unknown option 'no-such-option'."
    "homework.txt|offscreen|1|Kestrova: Unexpected argument 'homework.txt'."
)
for case in "${cases[@]}"; do
    IFS='|' read -r arguments platform expected_status expected_line <<<"$case"
    environment=(-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "XDG_DATA_HOME=$work/data"
        "XDG_RUNTIME_DIR=$work")
    if [ "$platform" != none ]; then
        environment+=("QT_QPA_PLATFORM=$platform")
    fi
    status=0
    # shellcheck disable=SC2086  # the arguments are split on purpose
    timeout 30 env "${environment[@]}" "$program" $arguments >"$work/output" 2>&1 || status=$?
    if [ "$status" -ne "$expected_status" ]; then
        echo "FAIL: '$arguments' ended with status $status, expected $expected_status" >&2
        cat "$work/output" >&2
        failures=$((failures + 1))
    elif ! grep -qxF -- "$expected_line" "$work/output"; then
        echo "FAIL: '$arguments' did not print the line '$expected_line'; it printed:" >&2
        cat "$work/output" >&2
        failures=$((failures + 1))
    else
        echo "ok '$arguments'"
    fi
done
[ "$failures" -eq 0 ]
