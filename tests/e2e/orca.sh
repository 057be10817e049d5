#!/usr/bin/env bash
# The real program heard through Orca, the screen reader itself: Orca runs headless on a D-Bus
# session and accessibility bus of their own, with its preferences in a folder of its own,
# speech-dispatcher and eSpeak NG sounding into ALSA's null device, and an openbox window
# manager; orca_speech.py drives the program with keys alone and checks what Orca said, from the
# "SPEECH OUTPUT:" lines of Orca's debug output.
# Usage: orca.sh PROGRAM [TRANSCRIPT [en]]  (TRANSCRIPT: where to keep what Orca said, and Orca's
# whole debug output beside it as TRANSCRIPT.orca.log, its errors as TRANSCRIPT.orca.err; en: in
# English, after a change of the language with the arrow keys)
set -euo pipefail
program=$1
transcript=${2:-}
language=${3:-ru}
here=$(cd "$(dirname "$0")" && pwd)

for tool in orca speech-dispatcher espeak-ng openbox dbus-run-session; do
    if ! command -v "$tool" >/dev/null; then
        echo "missing $tool: run scripts/install-deps.sh" >&2
        exit 1
    fi
done

if [ -z "${KESTROVA_PRIVATE_BUS:-}" ]; then
    export KESTROVA_PRIVATE_BUS=1
    exec timeout --kill-after=10 420 dbus-run-session -- bash "$0" "$@"
fi

source "$here/xscreen.sh"

# Orca and speech-dispatcher read their settings under the home folder: a home of this test's own.
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME/orca" "$XDG_CONFIG_HOME/speech-dispatcher"
# Without a sound card speech-dispatcher waits for one, and Orca with it: speech goes nowhere.
printf 'pcm.!default { type null }\n' >"$HOME/.asoundrc"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF

orca_pid=""
stop_orca() {
    if [ -n "$orca_pid" ] && kill -0 "$orca_pid" 2>/dev/null; then
        kill "$orca_pid" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$orca_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$orca_pid" 2>/dev/null || true
    fi
    # speech-dispatcher, started by Orca, leaves its process id in the runtime folder.
    local pidfile
    for pidfile in "$XDG_RUNTIME_DIR"/speech-dispatcher/pid/*.pid; do
        [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
    done
    if [ -n "${openbox_pid:-}" ]; then
        kill "$openbox_pid" 2>/dev/null || true
    fi
    cleanup
}
trap stop_orca EXIT

start_screen 1280 727
openbox >"$work/openbox.log" 2>&1 &
openbox_pid=$!

log="$work/orca.log"
/usr/bin/python3 "$here/orca_launcher.py" "$log" --user-prefs "$HOME/orca" \
    >"$work/orca.out" 2>&1 &
orca_pid=$!
for _ in $(seq 300); do
    grep -q "SPEECH OUTPUT: 'Screen reader on" "$log" 2>/dev/null && break
    kill -0 "$orca_pid" 2>/dev/null || fail "Orca ended: $(tail -n 20 "$work/orca.out")"
    sleep 0.1
done
grep -q "SPEECH OUTPUT: 'Screen reader on" "$log" || fail "Orca did not start speaking"

# Orca tells Qt through the accessibility bus's status that a screen reader runs; forced here as
# well, so that a slow bus cannot leave the program silent.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program "$program"

status=0
/usr/bin/python3 "$here/orca_speech.py" "$log" "$work/transcript.txt" "$language" || status=$?
if [ -n "$transcript" ]; then
    cp "$work/transcript.txt" "$transcript"
    cp "$log" "$transcript.orca.log"
    # Orca's own errors, and those of the accessibility library beneath it.
    cp "$work/orca.out" "$transcript.orca.err"
fi
if [ "$status" -ne 0 ]; then
    echo "--- what Orca said:" >&2
    cat "$work/transcript.txt" >&2
    fail "Orca did not say what it should"
fi
# A signal of the program that the accessibility library beneath Orca cannot read is lost: Qt's
# bridge sends a reorder as children-changed signals of a wrong signature, so none is sent.
if grep -q "invalid signature" "$work/orca.out"; then
    grep -m 5 "invalid signature" "$work/orca.out" >&2
    fail "Orca was sent $(grep -c "invalid signature" "$work/orca.out") malformed signals"
fi
echo "ok: Orca spoke every change"
