#!/usr/bin/python3
"""The material manager as a screen reader user reaches it: Alt+T and M open "RAW Material
Editor..."; the kind "Picture" chosen in the kind list, "Import..." opens the open dialog, the
file name set and Open pressed through the accessibility bus; the transparent-colour picker's OK; the
picture lands in the project's Picture folder, and "&Close" closes the window.

usage: MaterialImportA11y.py QUILLON QUILLON_CLI
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, log, press, wait_for  # noqa: E402


def cli_run(cli, *args):
    out = subprocess.run([cli, *args], capture_output=True, text=True, timeout=60)
    if out.returncode != 0:
        raise Failure(f"quillon-cli {' '.join(args)}: {out.stderr.strip()}")
    return out.stdout


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: MaterialImportA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "material-import") as s:
        project = a11ykit.new_project(cli, s.work)
        # An 8-bit picture from outside the project: the run-time package's walking graphic.
        source = os.path.join(s.work, "Walker.png")
        cli_run(cli, "export", project, "CharSet", "Hero", source)
        landed = os.path.join(project, "Picture", "Walker.png")

        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")

        # 1. The Tool menu by its mnemonic, then "RAW &Material Editor...".
        windows = set(s.editor_windows())
        s.key("alt+t")
        wait_for("the Tool menu to show", lambda: set(s.editor_windows()) - windows, timeout=10)
        s.key("m")
        manager = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "RAW Materials Settings", "the material manager")

        # 2. The kind "Picture", then "Import...".
        kinds = s.find(manager, "the kind list", ["LIST", "TABLE", "TREE", "LIST_BOX"], name="Kind")
        s.click(s.find(kinds, "the kind Picture", ["LIST_ITEM", "TABLE_CELL", "TREE_ITEM"], name="Picture"))
        press(s.find(manager, "the Import button", ["PUSH_BUTTON"], name="Import..."))

        # 3. The open dialog: the file name through the bus, then Open.
        dialog = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "Import", "the import dialog")
        name_edit = s.find(dialog, "the file name edit", ["TEXT", "ENTRY"], prefix="File name")
        s.set_text(name_edit, source, "the file name edit")
        open_button = s.find(dialog, "the Open button", ["PUSH_BUTTON"], name="Open")
        wait_for("the Open button to be enabled",
                 lambda: (open_button.clearCache() or True) and open_button.getState().contains(s.pyatspi.STATE_ENABLED), 10)
        log(f"file name: {name_edit.queryText().getText(0, -1)!r}")
        press(open_button)

        # 4. The transparent-colour picker: OK keeps colour 0 transparent.
        try:
            picker = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "Material Base", "the transparent-colour picker")
        except Failure:
            app.clearCache()
            shown = [(w.name, w.getRoleName()) for w in (app.getChildAtIndex(i) for i in range(app.childCount)) if w]
            raise Failure(f"no picker; the editor's windows: {shown}\n{s.editor_output()}")
        press(s.find(picker, "the picker's OK button", ["PUSH_BUTTON"], name="OK"))
        s.gone(picker, "the picker to close")
        wait_for("the imported picture to land in the project", lambda: os.path.isfile(landed), timeout=15)
        s.find(manager, "the imported entry in the file list", ["LIST_ITEM", "TABLE_CELL", "TREE_ITEM"],
               name="Walker")
        listed = cli_run(cli, "resources", project, "Picture").split("\n")
        if "Walker" not in listed:
            raise Failure(f"the project's pictures do not list Walker: {listed}")
        log(f"imported: {landed} ({os.path.getsize(landed)} bytes)")

        # 5. "&Close".
        press(s.find(manager, "the Close button", ["PUSH_BUTTON"], name="Close"))
        s.gone(manager, "the material manager to close")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=80)
