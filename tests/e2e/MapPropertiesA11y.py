#!/usr/bin/python3
"""The map properties dialog as a screen reader user reaches it: a map selected in the map tree,
the Menu key, the properties entry; the name and width set through the accessibility bus, OK,
Ctrl+S; the saved map tree holds the new name and the map unit the new width.

usage: MapPropertiesA11y.py QUILLON QUILLON_CLI
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, dump, log, wait_for  # noqa: E402

NEW_NAME = "Castle"
NEW_WIDTH = 123


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: MapPropertiesA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "map-properties") as s:
        project = a11ykit.new_project(cli, s.work)
        tree_file = os.path.join(project, "GMK_RT.kmt")
        map_file = os.path.join(project, "Map0001.kmu")
        first = next(item for item in dump(cli, tree_file)["Items"] if item["ID"] == 1)
        old_width = dump(cli, map_file)["Width"]
        if old_width == NEW_WIDTH:
            raise Failure(f"the sample map is already {NEW_WIDTH} wide")

        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        main_window = s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")

        # 1. Select the map in the tree: a click on its row gives the tree the keyboard.
        tree = s.find(main_window, "the map tree", ["TREE", "TREE_TABLE", "LIST", "TABLE"], name="Map Tree")
        item = s.find(tree, f"the tree row {first['Name']!r}",
                      ["TREE_ITEM", "TABLE_CELL", "LIST_ITEM"], name=first["Name"])
        s.click(item)
        wait_for("the map row to be selected",
                 lambda: (item.clearCache() or True) and item.getState().contains(s.pyatspi.STATE_SELECTED), 10)

        # 2. The Menu key opens the map's menu; its mnemonic chooses "&Map Properties...".
        # A popup is no child of the application on the bus: its X window tells that it showed.
        windows = set(s.editor_windows())
        s.key("Menu")
        popup = wait_for("the map's menu to show", lambda: set(s.editor_windows()) - windows, timeout=10)
        log(f"menu window: {sorted(popup)}")
        s.key("m")

        # 3. The dialog: name and width through the accessibility bus, then OK by a click.
        dialog = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "The setup of the map", "the map properties dialog")
        log(f"dialog caption: {dialog.name!r}")
        if dialog.name != "The setup of the map - ID:0001":
            raise Failure(f"the caption does not name map 1: {dialog.name!r}")
        name_edit = s.find(dialog, "the name edit", ["TEXT", "ENTRY"], name="Name")
        width_spin = s.find(dialog, "the width box", ["SPIN_BUTTON"], name="Width")
        s.set_text(name_edit, NEW_NAME, "the name edit")
        s.set_value(width_spin, NEW_WIDTH, "the width box")
        s.click(s.find(dialog, "the OK button", ["PUSH_BUTTON"], name="OK"))
        s.gone(dialog, "the dialog to close")
        s.find(tree, f"the tree row to read {NEW_NAME!r}", ["TREE_ITEM", "TABLE_CELL", "LIST_ITEM"], name=NEW_NAME)

        # 4. Ctrl+S saves the map and the tree.
        s.focus_window_of_editor("Quillon")
        s.key("ctrl+s")

        def saved():
            tree_item = next(i for i in dump(cli, tree_file)["Items"] if i["ID"] == 1)
            return tree_item["Name"] == NEW_NAME and dump(cli, map_file)["Width"] == NEW_WIDTH

        try:
            wait_for("the saved files to hold the new name and width", saved, timeout=15, interval=0.3)
        except Failure:
            tree_item = next(i for i in dump(cli, tree_file)["Items"] if i["ID"] == 1)
            raise Failure(f"saved: name {tree_item['Name']!r} (want {NEW_NAME!r}), "
                          f"width {dump(cli, map_file)['Width']} (want {NEW_WIDTH})\n{s.editor_output()}")
        log(f"saved: map 1 is {NEW_NAME!r}, {NEW_WIDTH} wide (was {first['Name']!r}, {old_width})")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=80)
