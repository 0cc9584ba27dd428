#!/usr/bin/python3
"""The game disk packer as a keyboard and screen reader user reaches it: "&Project", "Make Game
disk...", the disk path box (Alt+D), a folder typed into "Choose Disk Path", OK, Start,
the closing message; the folder
then holds the set-up files and an archive that tests clean and holds exactly the project's files.

usage: PackGameDiskA11y.py QUILLON QUILLON_CLI
"""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, log, wait_for  # noqa: E402

DELIVERED = ["Quest.lzh", "Setup.exe", "Setup.ini", "UNLHA32.DLL", "UNLHA32.TXT"]


def project_files(project):
    names = []
    for folder, _, files in os.walk(project):
        for name in files:
            names.append(os.path.relpath(os.path.join(folder, name), project))
    return sorted(names)


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: PackGameDiskA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "pack-game-disk") as s:
        project = a11ykit.new_project(cli, s.work)
        target = os.path.join(s.work, "disk")
        os.makedirs(target)
        expected = project_files(project)

        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")

        # 1. "&Project" by its mnemonic; the first enabled entry is "&Close", the next "Make Game disk...".
        s.key("alt+p")
        wait_for("the project menu to show", lambda: len(s.editor_windows()) > 1, timeout=10)
        s.key("Down")
        s.key("Return")
        dialog = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "Pack Project", "the pack dialog")
        start = s.find(dialog, "the Start button", ["PUSH_BUTTON"], name="Start")
        if start.getState().contains(s.pyatspi.STATE_ENABLED):
            raise Failure("Start is enabled before a folder is chosen")

        # 2. Alt+D presses the path box (its label's mnemonic), which opens "Choose Disk Path" (a
        # Space after it would press the box once more); the folder goes in through its edit, then
        # OK is pressed through the bus.
        s.focus_window_of_editor("Pack Project")
        s.key("alt+d")
        chooser = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "Choose Disk Path", "the disk path dialog")
        # (the folder tree takes the keyboard first and puts its current folder into the edit)
        s.focus_window_of_editor("Choose Disk Path")
        edit = s.find(chooser, "the path edit", ["TEXT", "ENTRY"], name="Disk Path")
        wait_for("the folder tree to settle", lambda: (edit.clearCache() or True) and edit.queryText().characterCount > 0, 5)
        s.set_text(edit, target, "the path edit")
        s.find(chooser, "the OK button", ["PUSH_BUTTON"], name="OK").queryAction().doAction(0)
        s.gone(chooser, "the disk path dialog to close")
        wait_for("Start to be enabled",
                 lambda: (start.clearCache() or True) and start.getState().contains(s.pyatspi.STATE_ENABLED), 10)

        # 3. Start packs; the closing message is answered with its OK.
        start.queryAction().doAction(0)
        message = s.find(app, "the closing message", ["LABEL", "STATIC"],
                         name="The preparation of the game disk was completed", timeout=30)
        s.find(message.parent, "the message's OK button", ["PUSH_BUTTON"], name="OK").queryAction().doAction(0)
        s.gone(dialog, "the pack dialog to close")

        delivered = sorted(os.listdir(target))
        if delivered != DELIVERED:
            raise Failure(f"the folder holds {delivered}, expected {DELIVERED}")
        tested = subprocess.run([cli, "lzh", "test", os.path.join(target, "Quest.lzh")], capture_output=True,
                                text=True, timeout=30)
        if tested.returncode != 0:
            raise Failure(f"quillon-cli lzh test: {tested.stderr.strip()}")
        out = os.path.join(s.work, "x")
        extracted = subprocess.run([cli, "lzh", "extract", os.path.join(target, "Quest.lzh"), out],
                                   capture_output=True, text=True, timeout=30)
        if extracted.returncode != 0:
            raise Failure(f"quillon-cli lzh extract: {extracted.stderr.strip()}")
        got = project_files(out)
        if got != expected:
            raise Failure(f"the archive holds {got}, the project {expected}")
        if shutil.which("lha"):
            checked = subprocess.run(["lha", "t", os.path.join(target, "Quest.lzh")], capture_output=True,
                                     text=True, timeout=30)
            if checked.returncode != 0:
                raise Failure(f"lha t: {checked.stdout.strip()} {checked.stderr.strip()}")
            log("lha t passed")
        log(f"packed {len(got)} files into {target}")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=80)
