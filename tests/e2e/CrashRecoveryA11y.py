#!/usr/bin/python3
"""Unsaved work after a kill: a map's width changed through its properties dialog, the project's
root selected (which writes the changed map's working copy), the editor killed with SIGKILL; the next
start asks whether to recover the unsaved changes, Yes brings the map back as changed, and Ctrl+S
saves it with the new width.

usage: CrashRecoveryA11y.py QUILLON QUILLON_CLI
"""

import os
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, dump, log, wait_for  # noqa: E402

NEW_WIDTH = 77
QUESTION = "Quillon did not close normally. Recover the unsaved changes of 1 maps?"
TREE_ROLES = ["TREE_ITEM", "TABLE_CELL", "LIST_ITEM"]


def select_row(s, tree, name):
    item = s.find(tree, f"the tree row {name!r}", TREE_ROLES, name=name)
    s.click(item)
    wait_for(f"the row {name!r} to be selected",
             lambda: (item.clearCache() or True) and item.getState().contains(s.pyatspi.STATE_SELECTED), 10)
    return item


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: CrashRecoveryA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "crash-recovery") as s:
        project = a11ykit.new_project(cli, s.work)
        config = os.path.join(s.work, "config")
        tree_file = os.path.join(project, "GMK_RT.kmt")
        items = dump(cli, tree_file)["Items"]
        first = next(i for i in items if i.get("Kind") == 1)
        root = next(i for i in items if i["ID"] == 0)
        root_name = root.get("Name") or "Quest"
        map_file = os.path.join(project, "Map%04d.kmu" % first["ID"])
        old_width = dump(cli, map_file)["Width"]
        if old_width == NEW_WIDTH:
            raise Failure(f"the sample map is already {NEW_WIDTH} wide")

        # 1. The width of the first map changed through its properties dialog, then the second
        # map selected: the first map's change lies in its working copy only.
        s.start_editor([project], config_dir=config)
        app = s.application()
        main_window = s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")
        tree = s.find(main_window, "the map tree", ["TREE", "TREE_TABLE", "LIST", "TABLE"], name="Map Tree")
        select_row(s, tree, first["Name"])
        windows = set(s.editor_windows())
        s.key("Menu")
        wait_for("the map's menu to show", lambda: set(s.editor_windows()) - windows, timeout=10)
        s.key("m")
        dialog = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "The setup of the map", "the map properties dialog")
        s.set_value(s.find(dialog, "the width box", ["SPIN_BUTTON"], name="Width"), NEW_WIDTH, "the width box")
        s.click(s.find(dialog, "the OK button", ["PUSH_BUTTON"], name="OK"))
        s.gone(dialog, "the dialog to close")
        select_row(s, tree, root_name)
        work = os.path.join(s.work, "tmp", "GMK_TEMP-%d" % os.geteuid())
        copy = os.path.join(work, "Map%04d.kmu" % first["ID"])
        wait_for("the working copy of the changed map", lambda: os.path.exists(copy), timeout=10)

        # 2. Killed: nothing was saved.
        os.kill(s.editor.pid, signal.SIGKILL)
        s.editor.wait(timeout=10)
        if dump(cli, map_file)["Width"] != old_width:
            raise Failure("the map was saved before the kill")

        # 3. The next start asks; Yes gives the change back, and Ctrl+S saves it.
        s.start_editor([project], config_dir=config)
        app = s.application()
        box = s.top_window(app, ["ALERT", "DIALOG"], "Quillon", "the recovery question", timeout=20)
        s.find(box, "the question's text", ["LABEL", "STATIC", "TEXT"], name=QUESTION)
        s.click(s.find(box, "the Yes button", ["PUSH_BUTTON"], prefix="Yes"))
        s.gone(box, "the question to close")
        main_window = s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")
        s.key("ctrl+s")
        try:
            wait_for("the saved map to hold the recovered width",
                     lambda: dump(cli, map_file)["Width"] == NEW_WIDTH, timeout=15, interval=0.3)
        except Failure:
            raise Failure(f"saved width {dump(cli, map_file)['Width']} (want {NEW_WIDTH})\n{s.editor_output()}")
        log(f"recovered: map {first['ID']} is {NEW_WIDTH} wide again after the kill (was {old_width})")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=100)
