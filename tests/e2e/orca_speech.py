"""Drives the running program with keys alone while Orca listens, and checks what Orca says, read
from the "SPEECH OUTPUT:" lines of Orca's debug output: a run of 10 exercises with one wrong
answer and its mark, error correction's "?", the statistics, a help page, a time-up. Keeps what
Orca said, one utterance a line, in TRANSCRIPT.

Usage: orca_speech.py ORCA_LOG TRANSCRIPT [en]   (en: switch the program to English first)"""

import os
import re
import subprocess
import sys
import time

SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(\{.*\})?\s*$")
EXERCISE = re.compile(r"notification .*?(\d+) x (\d+) =$")
KEY_ECHO = re.compile(r"^(tab|return|escape|left|right|up|down|left shift|f1|space|\d)\s*$", re.I)

WORDS = {
    "ru": {
        "start": "Старт push button",
        "count": "количество примеров slider",
        "time": "за время (мин.) slider",
        "right": "верно",
        "wrong": "неверно",
        "mark": "оценка",
        "correction": "работа над ошибками push button",
        "again": "неверно, ? - этот пример ещё раз",
        "time up": "Время истекло",
        "seconds left": "осталось секунд: 10",
        "statistics": "Статистика push button",
        "statistics shown": "Проблемные числа",
        "help page": "Kestrova",
    },
    "en": {
        "start": "Start push button",
        "count": "number of exercises slider",
        "time": "during (min.) slider",
        "right": "right",
        "wrong": "wrong",
        "mark": "mark",
        "correction": "Error correction push button",
        "again": "wrong, ? - this exercise again",
        "time up": "Time has expired",
        "seconds left": "time left, seconds: 10",
        "statistics": "Statistics push button",
        "statistics shown": "Problem numbers",
        "help page": "Kestrova",
    },
}


class Orca:
    def __init__(self, log, transcript):
        self.log = log
        self.transcript = open(transcript, "w", encoding="utf-8")
        self.heard = []  # every utterance so far
        self.seen = 0  # utterances already looked at by a wait

    def read(self):
        try:
            with open(self.log, encoding="utf-8", errors="replace") as f:
                lines = f.readlines()
        except FileNotFoundError:
            return
        heard = [m.group(1) for m in map(SPOKEN.search, lines) if m]
        for utterance in heard[len(self.heard):]:
            self.transcript.write(utterance + "\n")
        self.transcript.flush()
        self.heard = heard

    def note(self, text):
        self.transcript.write("# " + text + "\n")
        self.transcript.flush()

    def wait(self, what, timeout=20.0):
        """The first new utterance for which what() holds; fails after the timeout."""
        end = time.monotonic() + timeout
        while True:
            self.read()
            while self.seen < len(self.heard):
                utterance = self.heard[self.seen]
                self.seen += 1
                if what(utterance):
                    return utterance
            if time.monotonic() > end:
                return None
            time.sleep(0.05)

    def expect(self, description, what, timeout=20.0):
        found = self.wait(what, timeout)
        if found is None:
            fail("Orca did not say " + description)
        return found

    def quiet(self, seconds=0.6):
        """Waits until Orca has said nothing new for a while."""
        while True:
            self.read()
            count = len(self.heard)
            time.sleep(seconds)
            self.read()
            if len(self.heard) == count:
                self.seen = len(self.heard)
                return


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def move_focus(orca, target, key="Tab", presses=40):
    """Presses the key until what Orca says of the new focus names the target. Orca may speak a
    focus late: what counts is all it says after the press until it falls quiet."""
    for _ in range(presses):
        orca.quiet(0.2)
        start = len(orca.heard)
        keys(key)
        # Generous: a loaded machine may hold Orca up for seconds.
        orca.wait(lambda u: not KEY_ECHO.match(u), timeout=15)
        orca.quiet(0.4)
        said = [u for u in orca.heard[start:] if not KEY_ECHO.match(u)]
        if any(target in u for u in said):
            return " ".join(said)
    fail("%s did not reach %s" % (key, target))


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "80", *names], check=True)


def type_number(number):
    keys(*str(number))


def main():
    log, transcript = sys.argv[1], sys.argv[2]
    language = sys.argv[3] if len(sys.argv) > 3 else "ru"
    words = WORDS[language]
    orca = Orca(log, transcript)

    def tab_to(target, key="Tab"):
        return move_focus(orca, target, key)

    def exercise():
        found = orca.expect("an exercise", lambda u: EXERCISE.search(u))
        m = EXERCISE.search(found)
        return int(m.group(1)), int(m.group(2))

    def set_slider(name, value):
        tab_to(name)
        for _ in range(15):
            keys("Left")
        orca.quiet()
        orca.note("%s set to %d" % (name, value))
        return value

    orca.expect("the window", lambda u: "Form3" in u, timeout=30)
    orca.quiet()

    if language == "en":
        orca.note("the language box")
        tab_to("Language", "Tab")
        keys("Down")
        orca.expect("the new language", lambda u: u.startswith("notification") and "ENGLISH" in u.upper())
        orca.quiet()

    # F1 shows help until the first Start puts the run's settings in its place.
    orca.note("F1")
    keys("F1")
    orca.expect("the help page", lambda u: u.startswith("notification") and words["help page"] in u)
    orca.quiet()

    # A first Start shows the run's settings: stop, and set 10 exercises.
    tab_to(words["start"])
    orca.note("Return on Start")
    keys("Return")
    exercise()
    orca.quiet()
    keys("Escape")
    orca.quiet()
    set_slider(words["count"], 10)
    tab_to(words["start"], "shift+Tab")

    orca.note("a run of 10, the third answer wrong")
    keys("Return")
    first, second = exercise()
    for i in range(10):
        answer = first * second
        wrong = i == 2
        if wrong:
            answer = answer + 1 if answer < 90 else answer - 1
        type_number(answer)
        keys("Return")
        verdict = "%dx%d=%d %s" % (first, second, answer, words["wrong" if wrong else "right"])
        said = orca.expect("'%s'" % verdict, lambda u: u.startswith("notification") and verdict in u)
        if i < 9:
            m = EXERCISE.search(said)
            if m is None:
                fail("no next exercise in: " + said)
            first, second = int(m.group(1)), int(m.group(2))
        else:
            if not re.search(words["mark"] + r" [1-5]\b", said):
                fail("no mark in: " + said)
    orca.quiet()

    orca.note("error correction: a wrong answer, then the right one")
    tab_to(words["correction"], "shift+Tab")
    keys("Return")
    orca.quiet()
    tab_to(words["start"], "shift+Tab")
    keys("Return")
    first, second = exercise()
    type_number(first * second % 90 + 1)
    keys("Return")
    said = orca.expect("'?' and the same exercise",
                       lambda u: u.startswith("notification") and words["again"] in u)
    if "%d x %d =" % (first, second) not in said:
        fail("the exercise that stays is not told again: " + said)
    type_number(first * second)
    keys("Return")
    orca.expect("the right answer",
                lambda u: "%dx%d=%d %s" % (first, second, first * second, words["right"]) in u)
    orca.quiet()

    orca.note("the statistics")
    tab_to(words["statistics"])
    keys("Return")
    orca.expect("the statistics", lambda u: u.startswith("notification") and words["statistics shown"] in u)
    orca.quiet()
    keys("Return")
    orca.quiet()

    orca.note("a run of one minute, left to run out")
    set_slider(words["time"], 1)
    tab_to(words["start"])
    keys("Return")
    exercise()
    orca.expect("ten seconds left", lambda u: words["seconds left"] in u, timeout=90)
    orca.expect("time up", lambda u: u.startswith("notification") and words["time up"] in u,
                timeout=30)
    orca.quiet()
    print("ok: Orca said every change")


if __name__ == "__main__":
    main()
