"""A screen reader's view of the running program, through AT-SPI as Orca has it: finds the window
and its controls, sets a run of 10 exercises, answers it through the answer table's cells up to
its mark, and presses a hidden button, which must change nothing.

Usage: screen_reader.py PID (of the running program). Prints what it did; exits 1 on a failure."""

import re
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

TIMEOUT = 15.0


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe, timeout=TIMEOUT):
    """Polls probe until it gives something other than None or False."""
    end = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except gi.repository.GLib.Error:
            found = None
        if found not in (None, False):
            return found
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
        time.sleep(0.05)


def fresh(accessible):
    """The object as the program has it now, not as libatspi remembers it."""
    accessible.clear_cache()
    return accessible


def states(accessible):
    return fresh(accessible).get_state_set()


def showing(accessible):
    return states(accessible).contains(Atspi.StateType.SHOWING)


def name(accessible):
    return fresh(accessible).get_name()


def children(accessible):
    parent = fresh(accessible)
    return [parent.get_child_at_index(i) for i in range(parent.get_child_count())]


def press(accessible):
    for i in range(accessible.get_n_actions()):
        # The action's own name, not the one translated for the listener; libatspi calls the
        # call deprecated though nothing replaces it.
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", DeprecationWarning)
            action = accessible.get_action_name(i)
        if action == "Press":
            accessible.do_action(i)
            return
    fail("no Press action on " + name(accessible))


def find_application(pid):
    def probe():
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    return wait_for("the program on the accessibility bus", probe)


def by_name(window, wanted):
    for child in children(window):
        if name(child) == wanted:
            return child
    return None


def by_role(window, role):
    for child in children(window):
        if fresh(child).get_role() == role:
            return child
    return None


def exercise_answer(text):
    found = re.fullmatch(r"(\d+) x (\d+) =", text)
    if found:
        return int(found.group(1)) * int(found.group(2))
    found = re.fullmatch(r"(\d+) : (\d+) =", text)
    if found:
        return int(found.group(1)) // int(found.group(2))
    return None


def main():
    pid = int(sys.argv[1])
    app = find_application(pid)
    app.set_cache_mask(Atspi.Cache.NONE)

    # The application holds its window and nothing else: the controls are the window's.
    windows = wait_for("the window", lambda: [w for w in children(app) if name(w) == "Form3"] or None)
    if len(children(app)) != 1:
        fail("the application has %d children besides its window" % (len(children(app)) - 1))
    window = windows[0]
    controls = wait_for("the controls", lambda: children(window) if len(children(window)) > 20 else None)
    shown = [name(c) for c in controls if showing(c)]
    print("controls shown:", ", ".join(n for n in shown if n))
    for wanted in ["Умножение", "Деление", "Все", "на 2", "на 9", "Старт", "Справка", "Статистика",
                   "Игра", "Language"]:
        if wanted not in shown:
            fail("no control named %r shows in the window" % wanted)
    for control in controls:
        if fresh(control).get_role() == Atspi.Role.PUSH_BUTTON and showing(control) and not name(control):
            fail("a button shows without a name")
        if fresh(control).get_parent() != window:
            fail("%r does not have the window as its parent" % name(control))
    if by_name(window, "количество примеров") is not None:
        fail("the hidden exercise count is offered")
    help_button = by_name(window, "Справка")
    start = by_name(window, "Старт")

    # Start, then Stop: the run settings show, and the exercise count is set to 10.
    press(start)
    wait_for("Start to become Stop", lambda: name(start) == "Стоп")
    press(start)
    wait_for("Stop to become Start", lambda: name(start) == "Старт")
    count = wait_for("the exercise count", lambda: by_name(window, "количество примеров"))
    count.set_current_value(10)
    wait_for("10 exercises", lambda: fresh(count).get_current_value() == 10)
    print("exercise count set to", fresh(count).get_current_value())

    press(start)
    wait_for("the run", lambda: name(start) == "Стоп")
    table = wait_for("the answer table", lambda: by_role(window, Atspi.Role.TABLE))
    progress = [c for c in children(window) if fresh(c).get_role() == Atspi.Role.PROGRESS_BAR]
    if fresh(table).get_child_count() != 90:
        fail("the answer table has %d cells" % fresh(table).get_child_count())

    # The hidden help button: pressed, it must not open the help over the table.
    if showing(help_button):
        fail("the help button shows during a run")
    press(help_button)
    time.sleep(0.3)
    if by_role(window, Atspi.Role.TABLE) is None or name(start) != "Стоп":
        fail("pressing the hidden help button changed the window")
    print("the hidden help button was refused")

    for i in range(10):
        # The exercise is a label of the window, as on the screen.
        exercise = wait_for("an exercise",
                            lambda: next((name(c) for c in children(window)
                                          if exercise_answer(name(c) or "") is not None), None))
        answer = exercise_answer(exercise)
        if answer is None:
            fail("the window does not say an exercise: %r" % exercise)
        cell = fresh(table).get_child_at_index(answer - 1)
        if name(cell) != str(answer):
            fail("cell %d is named %r" % (answer, name(cell)))
        answered = [fresh(p).get_current_value() for p in progress]
        press(cell)
        # The answer is taken: a progress bar counts it, and the exercise column says it.
        wait_for("the answer counted",
                 lambda: [fresh(p).get_current_value() for p in progress] != answered)
        said = wait_for("the answer in the exercise column",
                        lambda: next((name(c) for c in children(window)
                                      if re.match(r"\d+[x:]\d+=%d\b" % answer, name(c) or "")),
                                     None))
        print("exercise %d: %s -> %d (%s)" % (i + 1, exercise, answer, said))

    wait_for("the run's end", lambda: name(start) == "Старт")
    marked = wait_for("the mark", lambda: next((name(c) for c in children(window)
                                                if re.search(r"оценка [1-5]", name(c) or "")), None))
    print("run ended:", marked)


if __name__ == "__main__":
    main()
