#!/usr/bin/env bash
# Proves the Debian package on a fresh Debian 12: bootstraps a minimal root, installs the package
# there with `apt install ./kestrova_*.deb`, runs `kestrova --version` and `man kestrova`, starts
# the program by its menu entry's Exec line on a virtual screen and closes it, removes the
# package, and checks that nothing of it is left. Then it removes the dependencies the package
# brought and lists what their own install scripts left behind (systemd's machine id and the
# like), for a look.
#
# Usage: scripts/verify-deb-in-clean-root.sh [--keep] [--no-install-recommends] [PACKAGE.deb]
#   --keep                   leave the root in place for a look afterwards
#   --no-install-recommends  install without recommended packages: the declared dependencies
#                            alone must be enough
#   PACKAGE.deb              by default, the one scripts/package.sh builds
# Environment: DEBIAN_MIRROR (default: debootstrap's own), SCREENSHOT (a PNG path to keep the
# program's first frame in).
#
# Needs root (debootstrap, chroot, mounts) and Debian's archive; takes a few minutes. Not part
# of the tests.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

keep=0
apt_options=()
while [ $# -gt 0 ]; do
    case "$1" in
        --keep) keep=1 ;;
        --no-install-recommends) apt_options+=(--no-install-recommends) ;;
        -*)
            echo "unknown option $1" >&2
            exit 2
            ;;
        *) break ;;
    esac
    shift
done
if [ "$(id -u)" -ne 0 ]; then
    echo "run as root: debootstrap, chroot and mount need it" >&2
    exit 2
fi
if [ $# -gt 0 ]; then
    deb=$(realpath "$1")
else
    deb=$(realpath "$("$repo/scripts/package.sh" | tail -n1)")
fi
[ -f "$deb" ] || {
    echo "no package at $deb" >&2
    exit 2
}
# Without install scripts the package can put nothing on the system but the files it lists,
# and dpkg takes all of those away again.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -vxE '\./|\./(control|md5sums)' || true)
if [ -n "$scripts" ]; then
    echo "the package has install scripts, so removal may leave more than this checks: $scripts" >&2
    exit 1
fi
"$repo/scripts/install-deps.sh"
if ! command -v debootstrap >/dev/null; then
    apt-get install -y -qq --no-install-recommends debootstrap
fi

# shellcheck source=tests/e2e/xscreen.sh
source "$repo/tests/e2e/xscreen.sh"
root=$(mktemp -d /var/tmp/kestrova-clean-root.XXXXXX)
chmod 755 "$root"  # apt downloads as an unprivileged user
mounted=()
finish() {
    local status=$?
    local point
    for point in "${mounted[@]}"; do
        umount -l "$point" 2>/dev/null || true
    done
    if [ "$keep" -eq 1 ]; then
        echo "the root is kept in $root"
    else
        rm -rf --one-file-system "$root"
    fi
    cleanup
    exit "$status"
}
trap finish EXIT

step() { echo "== $*"; }
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

# Every path of the root but the package manager's own records, caches, logs and the
# temporary and virtual folders.
snapshot() {
    in_root find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
        -o -path /var/cache -o -path /var/log -o -path /var/lib/apt -o -path /var/lib/dpkg \) \
        -prune -o -print | sort >"$1"
}

step "bootstrapping Debian 12 (minimal) into $root"
debootstrap --variant=minbase bookworm "$root" ${DEBIAN_MIRROR:+"$DEBIAN_MIRROR"} \
    >"$work/debootstrap.log" 2>&1 || fail "debootstrap failed: $(tail -n 20 "$work/debootstrap.log")"
mount -t proc proc "$root/proc"
mounted+=("$root/proc")
mount --bind /dev "$root/dev"
mounted+=("$root/dev")
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
# A minimal root has no `man`; it comes before the snapshot, as on any desktop.
in_root apt-get install -y -qq --no-install-recommends man-db >"$work/man-db.log" 2>&1 ||
    fail "man-db could not be installed: $(tail -n 20 "$work/man-db.log")"
snapshot "$work/before.txt"

step "apt install ./$(basename "$deb") ${apt_options[*]}"
in_root sh -c "cd /tmp && apt install -y -q ${apt_options[*]} ./$(basename "$deb")" \
    >"$work/install.log" 2>&1 || fail "the install failed: $(tail -n 30 "$work/install.log")"
echo "$(grep -c '^Setting up' "$work/install.log") packages set up, kestrova among them"

step "kestrova --version"
version=$(dpkg-deb -f "$deb" Version)
printed=$(in_root kestrova --version) || fail "kestrova --version failed: $printed"
echo "$printed"
[ "$(head -n1 <<<"$printed")" = "Kestrova $version" ] || fail "expected 'Kestrova $version' first"

step "man kestrova"
page=$(in_root man -P cat kestrova 2>&1) || fail "man kestrova failed: $page"
head -n 4 <<<"$page"
grep -q '^NAME' <<<"$page" || fail "man kestrova shows no manual page"

step "starting the menu entry on a virtual screen"
entry=$(in_root sh -c 'ls /usr/share/applications/*.desktop' | grep -i kestrova) ||
    fail "no menu entry installed"
exec_line=$(sed -n 's/^Exec=//p' "$root$entry" | sed 's/ *%[fFuUdDnNickvm]//g')
echo "$entry: Exec=$exec_line"
start_screen 1280 727
mkdir -p "$root/tmp/home" "$root/tmp/runtime"
chmod 700 "$root/tmp/runtime"
# The screen's socket is abstract, so the program inside the root reaches it too.
chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/runtime \
    LANG=C.UTF-8 DISPLAY="$DISPLAY" sh -c "exec $exec_line" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for_window '^Form3$' >/dev/null || fail "the window did not appear"
for _ in $(seq 100); do
    screenshot "$work/start.png"
    colour_near "$(pixel "$work/start.png" 240 16)" 0084DA 40 && break
    sleep 0.2
done
colour_near "$(pixel "$work/start.png" 240 16)" 0084DA 40 || fail "the window showed no first frame"
[ -z "${SCREENSHOT:-}" ] || cp "$work/start.png" "$SCREENSHOT"
echo "the window shows its first frame"
xdotool mousemove 1239 690 click 1
wait_for_exit "$program_pid" || fail "the program did not end after its close button"
program_pid=""
[ "$exit_status" -eq 0 ] || fail "the program ended with status $exit_status"
echo "closed with status 0"
rm -rf "$root/tmp/home" "$root/tmp/runtime"

step "apt remove kestrova"
in_root apt remove -y -q kestrova >"$work/remove.log" 2>&1 ||
    fail "the removal failed: $(tail -n 30 "$work/remove.log")"
status=$(in_root dpkg-query -W -f='${db:Status-Status}' kestrova 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = not-installed ] || fail "dpkg still lists kestrova: $status"
snapshot "$work/removed.txt"
if grep -i kestrova "$work/removed.txt"; then
    fail "files of the package are left"
fi
echo "no file of the package is left"

step "apt autoremove --purge (the dependencies the package brought)"
in_root apt autoremove -y -q --purge >"$work/autoremove.log" 2>&1 ||
    fail "autoremove failed: $(tail -n 30 "$work/autoremove.log")"
echo "$(grep -c '^Removing' "$work/autoremove.log") packages removed"
snapshot "$work/after.txt"
if diff "$work/before.txt" "$work/after.txt" >"$work/difference.txt"; then
    echo "the root is as it was before the install"
else
    echo "left by the install scripts of the dependencies (> new, < gone):"
    sed 's/^/    /' "$work/difference.txt"
    if grep -i kestrova "$work/difference.txt"; then
        fail "files of the package are left"
    fi
fi
echo "PASS: installed, started from the menu entry and removed cleanly on a fresh Debian 12"
