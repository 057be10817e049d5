"""Drives the running program with keys alone while Orca listens, and checks what Orca says, read
from the "SPEECH OUTPUT:" lines of Orca's debug output: a run of 10 exercises with one wrong
answer and its mark, error correction's "?", the statistics and one exercise's errors in words,
the reset's question, a help page, the time left on F2, a time-up, a chosen number, and in the
game the program's move, a cell chosen and chosen no more, a triple found with its points, and
the level's end with both sides' points. Keeps what Orca said, one utterance a line, in
TRANSCRIPT. The board is read as Orca reads it, row by row, to know where a triple lies.

Usage: orca_speech.py ORCA_LOG TRANSCRIPT [en]   (en: switch the program to English first)"""

import re
import subprocess
import sys
import time


CELL_READ = re.compile(r"^\d+\.$")
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'\s*(\{.*\})?\s*$")
EXERCISE = re.compile(r"notification .*?(\d+) x (\d+) =$")
KEY_ECHO = re.compile(r"^(tab|return|escape|left|right|up|down|left shift|f1|f2|space|\d)\s*$", re.I)

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
        "time left": r"осталось (минут|секунд): \d+",
        "reset": "Обнулить push button",
        "reset question": "Подтвердить:",
        "statistics": "Статистика push button",
        "statistics shown": "Проблемные числа",
        "help page": "Kestrova",
        "number 5": "на 5. not selected radio button",
        "chosen 5": "выбрано: Умножение на 5",
        "number 2": "на 2. not selected radio button",
        "chosen 2": "выбрано: Умножение на 2",
        "cell errors": r"(\d+) x (\d+): неверно (\d+) из (\d+)",
        "statistics band": "множимое, множитель",
        "not answered": r"\d+ x \d+: ответов ещё не было",
        "game": "Игра push button",
        "program found": "Программа: найдено троек - ",
        "chosen": "выбрано: ",
        "unchosen": "выбор снят: ",
        "triple": "тройка %d x %d = %d, баллов: %d",
        "my points": "Мои баллы - ",
        "level 1": "Уровень 1: Программа - ",
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
        "time left": r"time left, (minutes|seconds): \d+",
        "reset": "Reset to zero push button",
        "reset question": "Recommit:",
        "statistics": "Statistics push button",
        "statistics shown": "Problem numbers",
        "help page": "Kestrova",
        "number 5": "by 5. not selected radio button",
        "chosen 5": "chosen: Multiplication by 5",
        "number 2": "by 2. not selected radio button",
        "chosen 2": "chosen: Multiplication by 2",
        "cell errors": r"(\d+) x (\d+): (\d+) of (\d+) wrong",
        "statistics band": "multiplicand, multiplier",
        "not answered": r"\d+ x \d+: not answered yet",
        "game": "Game push button",
        "program found": "Programme: triples found - ",
        "chosen": "chosen: ",
        "unchosen": "chosen no more: ",
        "triple": "triple %d x %d = %d, points: %d",
        "my points": "My Points - ",
        "level 1": "Level 1: Programme - ",
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
        said = " ".join(u for u in orca.heard[start:] if not KEY_ECHO.match(u))
        if target.search(said) if isinstance(target, re.Pattern) else target in said:
            return said
    fail("%s did not reach %s" % (key, getattr(target, "pattern", target)))


def read_board(orca):
    """The numbers of the board's cells by (row, column), as Orca reads them: the whole row each
    time the focus goes to another row. Leaves the focus in row 1."""
    keys(*["Up"] * 9)
    orca.quiet()
    rows = {}

    def row_read(key):
        for _ in range(3):
            start = len(orca.heard)
            keys(key)
            orca.wait(lambda u: CELL_READ.match(u), timeout=15)
            orca.quiet(0.6)
            cells = [int(u.rstrip(".")) for u in orca.heard[start:] if CELL_READ.match(u)]
            if len(cells) >= 10:
                return cells[-10:]
            # Cut short: read the row again from the row beside it.
            keys("Down" if key == "Up" else "Up")
            orca.quiet()
        fail("Orca did not read a whole row of the board")

    for row in range(2, 10):
        rows[row] = row_read("Down")
        if row == 2:
            rows[1] = row_read("Up")
            keys("Down")
            orca.quiet()
    keys(*["Up"] * 8)
    orca.quiet()
    return {(row, column + 1): cells[column] for row, cells in rows.items()
            for column in range(10)}


def find_triple(board):
    """Two neighbouring cells and their product just beyond them on their line."""
    steps = [(0, 1), (1, 0), (1, 1), (1, -1), (0, -1), (-1, 0), (-1, -1), (-1, 1)]
    for (row, column), first in sorted(board.items()):
        for dr, dc in steps:
            second = board.get((row + dr, column + dc))
            product = board.get((row + 2 * dr, column + 2 * dc))
            if second is not None and product is not None and first * second == product:
                return [(row, column), (row + dr, column + dc), (row + 2 * dr, column + 2 * dc)]
    fail("no triple on the board")


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
    wrong_first = first
    for i in range(10):
        answer = first * second
        wrong = i == 2
        if wrong:
            answer = answer + 1 if answer < 90 else answer - 1
            wrong_first = first
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

    orca.note("the statistics, and the table's row of the wrong answer's number")
    tab_to(words["statistics"])
    keys("Return")
    orca.expect("the statistics", lambda u: u.startswith("notification") and words["statistics shown"] in u)
    orca.quiet()
    # The table's focus cell: the band above it, or a cell of an exercise.
    tab_to(re.compile(re.escape(words["statistics band"]) + "|" + words["cell errors"] + "|" +
                      words["not answered"]), "shift+Tab")
    orca.quiet()
    keys(*["Up"] * 9, *["Left"] * 10)
    orca.quiet()
    keys(*["Down"] * (wrong_first - 1))
    errors = orca.expect("an exercise's errors in words",
                         lambda u: re.search(words["cell errors"], u) and
                         int(re.search(words["cell errors"], u).group(3)) > 0)
    m = re.search(words["cell errors"], errors)
    if int(m.group(1)) != wrong_first:
        fail("the errors are not of the wrong answer's number: " + errors)
    orca.quiet()
    orca.note("the reset's question")
    tab_to(words["reset"])
    keys("Return")
    orca.expect("the reset's question", lambda u: u.startswith("notification") and
                words["reset question"] in u)
    orca.quiet()
    # Leaving the statistics takes the question back.
    tab_to(words["statistics"].replace(" push button", ""))
    keys("Return")
    orca.quiet()

    orca.note("a run of one minute, left to run out")
    set_slider(words["time"], 1)
    tab_to(words["start"])
    keys("Return")
    exercise()
    orca.quiet()
    orca.note("F2")
    keys("F2")
    orca.expect("the time left", lambda u: u.startswith("notification") and
                re.search(words["time left"], u))
    orca.expect("ten seconds left", lambda u: words["seconds left"] in u, timeout=90)
    orca.expect("time up", lambda u: u.startswith("notification") and words["time up"] in u,
                timeout=30)
    orca.quiet()

    orca.note("a number chosen, and chosen again")
    tab_to(words["number 5"], "shift+Tab")
    keys("space")
    orca.expect("the number chosen", lambda u: u.startswith("notification") and words["chosen 5"] in u)
    orca.quiet()
    tab_to(words["number 2"], "shift+Tab")
    keys("space")
    orca.expect("the number chosen", lambda u: u.startswith("notification") and words["chosen 2"] in u)
    orca.quiet()

    orca.note("the game: the program's move, a cell chosen and chosen no more, a triple found")
    tab_to(words["game"])
    keys("Return")
    orca.quiet()
    tab_to(words["start"], "shift+Tab")
    keys("Return")
    orca.expect("the program's move", lambda u: u.startswith("notification") and words["program found"] in u)
    orca.quiet()
    board = read_board(orca)
    triple = find_triple(board)
    values = [board[cell] for cell in triple]
    # From the top left corner to each cell of the triple in turn, Enter on each; Enter twice on
    # the first chooses it and takes it back.
    keys(*["Left"] * 10)
    orca.quiet()
    at = (1, 1)
    for k, (row, column) in enumerate(triple):
        moves = (["Down"] * (row - at[0]) + ["Up"] * (at[0] - row) + ["Right"] * (column - at[1]) +
                 ["Left"] * (at[1] - column))
        if moves:
            keys(*moves)
        at = (row, column)
        orca.quiet()
        keys("Return")
        if k == 0:
            orca.expect("the cell chosen", lambda u: u.startswith("notification") and
                        u.rstrip(".").endswith(words["chosen"] + str(values[0])))
            orca.quiet()
            keys("Return")
            orca.expect("the cell chosen no more", lambda u: u.startswith("notification") and
                        words["unchosen"] + str(values[0]) in u)
            orca.quiet()
            keys("Return")
            orca.expect("the cell chosen again", lambda u: u.startswith("notification") and
                        u.rstrip(".").endswith(words["chosen"] + str(values[0])))
        elif k == 1:
            # The chosen cells are told in the board's order.
            pair = ", ".join(str(board[cell]) for cell in sorted(triple[:2]))
            orca.expect("both cells chosen", lambda u: u.startswith("notification") and
                        u.rstrip(".").endswith(words["chosen"] + pair))
    first, second = values[0], values[1]
    said = orca.expect("the triple and its points", lambda u: u.startswith("notification") and
                       words["triple"] % (min(first, second), max(first, second), first * second,
                                          first * second) in u)
    if words["my points"] + str(first * second) not in said:
        fail("the pupil's points are not told with the triple: " + said)
    orca.quiet()

    orca.note("Escape ends the level")
    keys("Escape")
    said = orca.expect("the level's end", lambda u: u.startswith("notification") and
                       words["level 1"] in u)
    if words["my points"] + str(first * second) not in said:
        fail("the pupil's points are not told with the level's end: " + said)
    orca.quiet()
    print("ok: Orca said every change")


if __name__ == "__main__":
    main()
