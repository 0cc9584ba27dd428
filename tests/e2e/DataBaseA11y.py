#!/usr/bin/python3
"""The database window as a screen reader user reaches it: F8 opens "DataBase" with its thirteen
tabs in order, and every input of every page has a name; Cancel with no change leaves
"GMK_RT.kdb" as it was, byte for byte; a hero renamed on "Hero" and saved with "&Apply", and an
item renamed on "Items" and saved with "&OK", are in the file.

usage: DataBaseA11y.py QUILLON QUILLON_CLI
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, log, press, wait_for  # noqa: E402

TABS = ["Hero", "Skills", "Items", "Monsters", "Monsters Party", "Attributes", "Conditions",
        "Battle Animation", "Terrain", "ChipSets", "Vocabulary", "System", "Common Events"]
INPUT_ROLES = ["PUSH_BUTTON", "TOGGLE_BUTTON", "CHECK_BOX", "RADIO_BUTTON", "TEXT", "ENTRY",
               "PASSWORD_TEXT", "SPIN_BUTTON", "COMBO_BOX", "LIST", "TABLE", "TREE", "TREE_TABLE",
               "PAGE_TAB_LIST", "SLIDER"]
HERO_NAME = "Aria"
ITEM_NAME = "Tonic"


def first_name(cli, kdb, section):
    """The name of entry 1 of a section, as quillon-cli db lists it."""
    out = subprocess.run([cli, "db", kdb, section, "list"], capture_output=True, text=True, timeout=30)
    if out.returncode != 0:
        raise Failure(f"quillon-cli db {section} list: {out.stderr.strip()}")
    row = out.stdout.splitlines()[0]
    if not row.startswith("0001:"):
        raise Failure(f"the first {section} row is {row!r}")
    return row[5:]


def unnamed_inputs(s, root):
    """Role and description of every showing input under root without an accessible name."""
    wanted = {s.role(r) for r in INPUT_ROLES}
    showing = s.pyatspi.STATE_SHOWING
    missing = []

    def visit(acc, depth):
        if acc is None or depth > 40:
            return
        state = acc.getState()
        if not state.contains(showing):
            return
        if acc.getRole() in wanted:
            if not (acc.name or "").strip():
                missing.append(f"{acc.getRoleName()} {acc.description!r}")
            if acc.getRole() != s.role("PAGE_TAB_LIST"):
                return  # the parts of an input speak through it
        for i in range(acc.childCount):
            visit(acc.getChildAtIndex(i), depth + 1)

    root.clearCache()
    visit(root, 0)
    return missing


def open_database(s, app):
    s.focus_window_of_editor("Quillon")
    s.key("F8")
    dialog = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "DataBase", "the DataBase window", timeout=20)
    if dialog.name != "DataBase":
        raise Failure(f"the window is called {dialog.name!r}")
    return dialog


RECORD_TABS = ("Vocabulary", "System")


def showing_lists(s, dialog):
    """The names of the entry lists that show now."""
    showing = s.pyatspi.STATE_SHOWING
    lists = {s.role("LIST"), s.role("TABLE")}
    dialog.clearCache()
    found = s.pyatspi.findAllDescendants(
        dialog, lambda acc: acc is not None and acc.getRole() in lists and acc.getState().contains(showing))
    return {acc.name for acc in found}


def select_tab(s, dialog, caption):
    """Chooses a tab by its press action (a tab scrolled out of view has no place to click) and
    waits for its page: the entry list named like the tab, or no entry list on a record tab."""
    page_tab = s.find(dialog, f"the tab {caption!r}", ["PAGE_TAB"], name=caption, showing=False)
    page_tab.queryAction().doAction(0)
    if caption in RECORD_TABS:
        wait_for(f"the page of {caption!r}", lambda: not (showing_lists(s, dialog) & set(TABS)), 10)
    else:
        wait_for(f"the entry list of {caption!r}", lambda: caption in showing_lists(s, dialog), 10)


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: DataBaseA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "database") as s:
        project = a11ykit.new_project(cli, s.work)
        kdb = os.path.join(project, "GMK_RT.kdb")
        with open(kdb, "rb") as f:
            before = f.read()

        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)

        # 1. F8: the window, its tabs in order, and a name for every input of every page.
        dialog = open_database(s, app)
        tabs = s.find(dialog, "the tab list", ["PAGE_TAB_LIST"])
        captions = [child.name for child in (tabs.getChildAtIndex(i) for i in range(tabs.childCount))
                    if child is not None and child.getRole() == s.role("PAGE_TAB")]
        if captions != TABS:
            raise Failure(f"the tabs are {captions}")
        for caption in TABS:
            select_tab(s, dialog, caption)
            missing = unnamed_inputs(s, dialog)
            if missing:
                raise Failure(f"inputs without a name on {caption!r}: {missing}")
        log("thirteen tabs in order; every input has a name")

        # 2. Cancel with no change: the file as it was.
        press(s.find(dialog, "the Cancel button", ["PUSH_BUTTON"], name="Cancel"))
        s.gone(dialog, "the window to close")
        with open(kdb, "rb") as f:
            if f.read() != before:
                raise Failure("Cancel with no change rewrote GMK_RT.kdb")
        log("Cancel left GMK_RT.kdb byte-identical")

        # 3. A hero renamed and applied; an item renamed and confirmed with OK.
        dialog = open_database(s, app)
        select_tab(s, dialog, "Hero")
        s.set_text(s.find(dialog, "the hero's name", ["TEXT", "ENTRY"], name="Name"), HERO_NAME, "the hero's name")
        apply_button = s.find(dialog, "the Apply button", ["PUSH_BUTTON"], name="Apply")
        wait_for("Apply to be enabled",
                 lambda: (apply_button.clearCache() or True)
                 and apply_button.getState().contains(s.pyatspi.STATE_ENABLED), 10)
        press(apply_button)
        wait_for(f"hero 1 to be {HERO_NAME!r} in the file", lambda: first_name(cli, kdb, "heroes") == HERO_NAME, 15)
        select_tab(s, dialog, "Items")
        s.set_text(s.find(dialog, "the item's name", ["TEXT", "ENTRY"], name="Name"), ITEM_NAME, "the item's name")
        press(s.find(dialog, "the OK button", ["PUSH_BUTTON"], name="OK"))
        try:
            s.gone(dialog, "the window to close")
        except Failure:
            app.clearCache()
            windows = [(app.getChildAtIndex(i).getRoleName(), app.getChildAtIndex(i).name)
                       for i in range(app.childCount)]
            raise Failure(f"OK left the window open; windows: {windows}\n{s.editor_output()}")
        wait_for(f"item 1 to be {ITEM_NAME!r} in the file", lambda: first_name(cli, kdb, "items") == ITEM_NAME, 15)
        if first_name(cli, kdb, "heroes") != HERO_NAME:
            raise Failure("the applied hero name went away")
        log(f"saved: hero 1 {HERO_NAME!r} by Apply, item 1 {ITEM_NAME!r} by OK")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=120)
