# Sourced first by a script that needs a D-Bus session of its own: the script runs again inside
# one, which ends with it. The accessibility bus's launcher and its registry (Debian's
# at-spi2-core) are started by it on the first request, and end when it ends.
if [ -z "${KESTROVA_PRIVATE_BUS:-}" ]; then
    if ! command -v dbus-run-session >/dev/null || [ ! -x /usr/libexec/at-spi-bus-launcher ]; then
        echo "missing dbus-run-session or at-spi2-core: run scripts/install-deps.sh" >&2
        exit 1
    fi
    export KESTROVA_PRIVATE_BUS=1
    exec timeout --kill-after=10 150 dbus-run-session -- bash "$0" "$@"
fi
