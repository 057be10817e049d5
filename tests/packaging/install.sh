#!/usr/bin/env bash
# `cmake --install` puts the program, its menu entry, its icon in every size and its
# software-centre data each in its freedesktop place, and the validators accept them.
# Usage: install.sh BUILD_DIR APP_ID SCREENSHOT_DIR
set -euo pipefail
build=$1
id=$2
screenshots=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for file in "$desktop" "$metainfo" "$prefix/share/icons/hicolor/scalable/apps/$id.svg"; do
    [ -f "$file" ] || fail "${file#"$prefix"/} is not installed"
done
[ -x "$prefix/bin/kestrova" ] || fail "bin/kestrova is not installed"

for size in 16 24 32 48 64 128 256 512; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
    elif [ "$(identify -format '%wx%h' "$png")" != "${size}x${size}" ]; then
        fail "the ${size}x${size} icon is $(identify -format '%wx%h' "$png")"
    fi
done

# Warnings count as failures too: software centres hide entries they dislike.
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $report"
if grep -E '^(E|W):' <<<"$report"; then
    fail "appstreamcli reports errors or warnings"
fi

# The menu starts the installed program, and the software centre knows the entry and shows
# pictures that docs/ has.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the software-centre data does not launch $id.desktop"
images=$(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "$metainfo")
[ -n "$images" ] || fail "the software-centre data shows no screenshots"
for image in $images; do
    [ -f "$screenshots/$image" ] || fail "screenshot $image is not in docs/screenshots"
done

[ "$failures" -eq 0 ] && echo "ok installed and valid"
