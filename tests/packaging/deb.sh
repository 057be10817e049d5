#!/usr/bin/env bash
# The Debian package packed from a build, as scripts/package.sh packs it from the release build:
# lintian, Debian's package checker, reports no error and no warning; the copyright file is in
# Debian's machine-readable format and gives every bundled font a paragraph of its own with its
# licence; the package, its changelog and the program name one version.
# Usage: deb.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Packed beside the build, not into it, so that the tests leave the build as they found it.
if ! cpack --config "$build/CPackConfig.cmake" -B "$work" -D CPACK_OUTPUT_FILE_PREFIX="$work" \
    >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not pack the build" >&2
    exit 1
fi
deb=$(echo "$work"/kestrova_*.deb)

# Information tags are printed for a look but do not fail the test.
if ! lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.txt" 2>&1; then
    fail "lintian reports errors or warnings"
fi
cat "$work/lintian.txt"

dpkg-deb -x "$deb" "$work/root"
doc=$work/root/usr/share/doc/kestrova
/usr/bin/python3 - "$doc/copyright" "$source" <<'EOF' || fail "the copyright file lacks a licence or a font"
import glob, os, sys
from debian.copyright import Copyright

with open(sys.argv[1], encoding="utf-8") as f:
    copyright = Copyright(f, strict=True)
licences = {p.license.synopsis for p in copyright.all_license_paragraphs()}
good = True
for paragraph in copyright.all_files_paragraphs():
    if not paragraph.license.text and paragraph.license.synopsis not in licences:
        print(f"no text of the licence {paragraph.license.synopsis}", file=sys.stderr)
        good = False
os.chdir(sys.argv[2])
fonts = glob.glob("ui/resources/fonts/*.[ot]tf")
if not fonts:
    print("no fonts found in ui/resources/fonts", file=sys.stderr)
    good = False
for font in sorted(fonts):
    if copyright.find_files_paragraph(font).files == ("*",):
        print(f"{font} has no paragraph of its own", file=sys.stderr)
        good = False
sys.exit(0 if good else 1)
EOF

version=$(dpkg-deb -f "$deb" Version)
# Qt's Wayland plugin is recommended, so that a Wayland desktop runs the window natively.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -qw "qt6-wayland" <<<"$recommends" || fail "the package does not recommend qt6-wayland: '$recommends'"
changelog_version=$(zcat "$doc/changelog.gz" | sed -n '1s/^kestrova (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] ||
    fail "the changelog's latest entry is '$changelog_version', the package's version '$version'"
printed=$("$work/root/usr/bin/kestrova" --version | head -n1)
[ "$printed" = "Kestrova $version" ] ||
    fail "the program prints '$printed' for the package's version '$version'"

[ "$failures" -eq 0 ] && echo "ok $(basename "$deb") is lintian clean"
