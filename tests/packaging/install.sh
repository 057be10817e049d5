#!/usr/bin/env bash
# `cmake --install` puts the program, its menu entry, its icon in every size, its
# software-centre data and its manual page each in its freedesktop place, the validators accept
# them, and `man` shows the page with every option that --help lists.
# Usage: install.sh BUILD_DIR APP_ID SCREENSHOT_DIR [HOMEPAGE]
set -euo pipefail
build=$1
id=$2
screenshots=$3
homepage=${4:-}
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
for file in "$desktop" "$metainfo" "$prefix/share/icons/hicolor/scalable/apps/$id.svg" \
    "$prefix/share/man/man6/kestrova.6.gz" "$prefix/share/doc/kestrova/copyright" \
    "$prefix/share/doc/kestrova/changelog.gz"; do
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

# The menu starts the installed program (also for its actions), and the software centre knows the entry. Without a
# home page the software-centre data names no web address; with one, it shows pictures that
# docs/ has.
# The entry's command and each action's.
exec_lines=$(sed -n 's/^Exec=//p' "$desktop")
[ -n "$exec_lines" ] || fail "the menu entry has no Exec line"
while IFS= read -r exec_line; do
    [ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec=$exec_line names no installed program"
done <<<"$exec_lines"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the software-centre data does not launch $id.desktop"
if [ -z "$homepage" ]; then
    if grep -E 'https?://' "$metainfo"; then
        fail "the software-centre data names a web address though no home page is set"
    fi
else
    images=$(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "$metainfo")
    [ -n "$images" ] || fail "the software-centre data shows no screenshots"
    for image in $images; do
        [ -f "$screenshots/$image" ] || fail "screenshot $image is not in docs/screenshots"
    done
fi

# `man` finds the page by its name and section, and it documents each option of --help (the
# lines that begin with an option; "--name <value>" is documented as --name).
warnings=$prefix/man-warnings.txt
manual=$(MANWIDTH=200 man --warnings -M "$prefix/share/man" 6 kestrova 2>"$warnings") ||
    fail "man cannot show kestrova(6): $(cat "$warnings")"
[ ! -s "$warnings" ] || fail "man warns about kestrova(6): $(cat "$warnings")"
options=$("$prefix/bin/kestrova" --help | sed -n 's/^  \(-[^ ].*\)/\1/p' |
    sed 's/  .*//;s/ <[^>]*>//g;s/, / /g')
[ -n "$options" ] || fail "kestrova --help lists no options"
for option in $options; do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$manual" ||
        fail "the manual page does not document $option"
done

[ "$failures" -eq 0 ] && echo "ok installed and valid"
