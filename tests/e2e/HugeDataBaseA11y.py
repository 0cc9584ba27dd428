#!/usr/bin/python3
"""The database window over huge records, as a screen reader user reaches it: the project's
"GMK_RT.kdb" holds a battle animation of 100,000 frames and 100,000 timings, a hero who learns
200,000 skills, a monster with 100,000 action patterns, a troop of 100,000 members and pages and
a common event of 100,000 lines. F8 opens "DataBase" and every tab, chosen in turn, shows its page
within 5 s (the times are printed; the benchmark holds the real target of a second); Cancel
leaves the file byte for byte.

usage: HugeDataBaseA11y.py QUILLON QUILLON_CLI QUILLON_MAKE_HUGE_DATABASE
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, log, press, wait_for  # noqa: E402
from DataBaseA11y import RECORD_TABS, TABS, open_database  # noqa: E402

ANSWER_SECONDS = 5.0
LIST_ROLES = ["LIST", "TABLE", "TREE_TABLE", "TREE"]


def showing_lists(s, dialog):
    """The names of the lists and tables that show now; their rows (hundreds of thousands here)
    are not walked."""
    lists = {s.role(r) for r in LIST_ROLES}
    showing = s.pyatspi.STATE_SHOWING
    names = set()

    def visit(acc, depth):
        if acc is None or depth > 40 or not acc.getState().contains(showing):
            return
        if acc.getRole() in lists:
            names.add(acc.name)
            return
        for i in range(acc.childCount):
            visit(acc.getChildAtIndex(i), depth + 1)

    dialog.clearCache()
    visit(dialog, 0)
    return names


def show_tab(s, dialog, caption):
    """Chooses a tab by its press action and answers the seconds until its page shows."""
    page_tab = s.find(dialog, f"the tab {caption!r}", ["PAGE_TAB"], name=caption, showing=False)
    start = time.monotonic()
    page_tab.queryAction().doAction(0)
    if caption in RECORD_TABS:
        shown = lambda: not (showing_lists(s, dialog) & set(TABS))  # noqa: E731
    else:
        shown = lambda: caption in showing_lists(s, dialog)  # noqa: E731
    wait_for(f"the page of {caption!r}", shown, ANSWER_SECONDS, interval=0.02)
    return time.monotonic() - start


def main():
    if len(sys.argv) != 4:
        raise Failure("usage: HugeDataBaseA11y.py QUILLON QUILLON_CLI QUILLON_MAKE_HUGE_DATABASE")
    quillon, cli, make_huge = sys.argv[1:]
    with Session(quillon, "huge-database") as s:
        project = a11ykit.new_project(cli, s.work)
        kdb = os.path.join(project, "GMK_RT.kdb")
        made = subprocess.run([make_huge, kdb], capture_output=True, text=True, timeout=60)
        if made.returncode != 0:
            raise Failure(f"quillon-make-huge-database: {made.stderr.strip()}")
        with open(kdb, "rb") as f:
            before = f.read()
        log(f"GMK_RT.kdb with huge records: {len(before):,} bytes")

        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=30)

        start = time.monotonic()
        dialog = open_database(s, app)
        wait_for("the page of 'Hero'", lambda: "Hero" in showing_lists(s, dialog), ANSWER_SECONDS, interval=0.02)
        times = [("F8", time.monotonic() - start)]
        for caption in TABS[1:] + TABS[:1]:
            times.append((caption, show_tab(s, dialog, caption)))
        log("answered: " + ", ".join(f"{name} {seconds:.2f} s" for name, seconds in times))
        slow = [name for name, seconds in times if seconds > ANSWER_SECONDS]
        if slow:
            raise Failure(f"slower than {ANSWER_SECONDS:.0f} s: {slow}")

        press(s.find(dialog, "the Cancel button", ["PUSH_BUTTON"], name="Cancel"))
        s.gone(dialog, "the window to close", timeout=30)  # closing reads the file again
        with open(kdb, "rb") as f:
            if f.read() != before:
                raise Failure("the database window rewrote GMK_RT.kdb")
        log("GMK_RT.kdb byte-identical after every tab and Cancel")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=150)
