#!/usr/bin/env bash
# The CSV report opened by a real spreadsheet (LibreOffice Calc, headless) with Russian and British
# settings: names whole and as text, every figure a number, and a name that looks like a formula
# still text, not a live formula.
# Usage: report_spreadsheet.sh PROGRAM SAMPLE_PUPILS
set -euo pipefail
program=$1
sample_pupils=$2
if ! command -v soffice >/dev/null; then
    echo "soffice is missing: scripts/install-deps.sh installs it" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" \
        XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" \
        timeout 60 "$program" "$@"
}

# This account's pupils, two of them renamed to what a spreadsheet would run or split.
"$sample_pupils" "$work/data/Kestrova" 3 5
formula='=HYPERLINK("http://example.com","x")'
run --rename-pupil Boris "$formula" >/dev/null
run --rename-pupil Мария 'Мария, "Маша" <b>' >/dev/null
run --report "$work/report.csv" >/dev/null

failures=0
# LibreOffice's CSV filter: comma, double quote, UTF-8 (76), from line 1, its language (LCID).
for setting in ru_RU.UTF-8:1049 en_GB.UTF-8:2057; do
    locale=${setting%%:*}
    language=${setting##*:}
    mkdir -p "$work/$language"
    LANG=$locale LC_ALL=$locale HOME="$work/home" timeout 120 soffice --headless \
        --infilter="CSV:44,34,76,1,,$language" --convert-to fods --outdir "$work/$language" \
        "$work/report.csv" >/dev/null 2>&1
    if ! python3 - "$work/$language/report.fods" "$formula" <<'PYTHON'; then
import sys
import xml.etree.ElementTree as ET

TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
OFFICE = "{urn:oasis:names:tc:opendocument:xmlns:office:1.0}"
path, formula = sys.argv[1], sys.argv[2]
rows = []
for row in ET.parse(path).iter(TABLE + "table-row"):
    cells = []
    for cell in row.findall(TABLE + "table-cell"):
        repeat = int(cell.get(TABLE + "number-columns-repeated", "1"))
        kind = cell.get(OFFICE + "value-type")
        live = cell.get(TABLE + "formula") is not None
        text = "".join(cell.itertext()).strip()
        cells += [(kind, live, text)] * min(repeat, 20)
    rows.append(cells)
problems = []
header = [text for _, _, text in rows[0]]
if header[:3] != ["pupil", "operation", "number"]:
    problems.append(f"the header reads {header[:3]}")
names = set()
figures = 0
for cells in rows[1:]:
    if not cells or cells[0][2] == "":
        continue
    names.add(cells[0][2])
    if any(live for _, live, _ in cells):
        problems.append(f"a live formula in the row of {cells[0][2]}")
    # answers, errors, error rate %, rate mark: numbers wherever they are filled
    for kind, _, text in cells[4:8]:
        if text != "":
            figures += 1
            if kind != "float":
                problems.append(f"'{text}' is {kind}, not a number")
expected = {"Anna", "'" + formula, 'Мария, "Маша" <b>'}
if names != expected:
    problems.append(f"names {sorted(names)}, expected {sorted(expected)}")
if figures < 3 * 2 * 80 * 3:
    problems.append(f"only {figures} figures")
for problem in problems[:10]:
    print(f"{path}: {problem}", file=sys.stderr)
sys.exit(1 if problems else 0)
PYTHON
        echo "FAIL: the CSV read with $locale" >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "ok the CSV in a spreadsheet"
