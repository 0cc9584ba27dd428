#!/usr/bin/python3
"""A damaged database as a user meets it: the project opens with an error naming "GMK_RT.kdb" and
what of it could not be read; in the "DataBase" window (F8) a hero renamed and "&Apply" pressed
ask before replacing the file, and so does "&OK"; answering No leaves the cut file byte for byte
as it was, and no "GMK_RT.kdb.damaged" appears.

usage: DamagedDataBaseA11y.py QUILLON QUILLON_CLI
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, log, wait_for  # noqa: E402

DAMAGE = "GMK_RT.kdb is damaged: "
TEXT_ROLES = ["LABEL", "STATIC", "TEXT"]


def box_with(s, app, prefix, what):
    """The message box showing a text that starts with prefix."""
    box = s.top_window(app, ["ALERT", "DIALOG"], "Quillon", what, timeout=20)
    label = s.find(box, f"the text of {what}", TEXT_ROLES, prefix=prefix)
    return box, label.name


def answer(s, box, button, what):
    s.click(s.find(box, f"the {button} button of {what}", ["PUSH_BUTTON"], prefix=button))
    s.gone(box, f"{what} to close")


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: DamagedDataBaseA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "damaged-database") as s:
        project = a11ykit.new_project(cli, s.work)
        kdb = os.path.join(project, "GMK_RT.kdb")
        with open(kdb, "rb") as f:
            whole = f.read()
        cut = whole[: len(whole) // 2]
        with open(kdb, "wb") as f:
            f.write(cut)

        def unchanged(when):
            with open(kdb, "rb") as f:
                if f.read() != cut:
                    raise Failure(f"GMK_RT.kdb was rewritten {when}")
            if os.path.exists(kdb + ".damaged"):
                raise Failure(f"GMK_RT.kdb.damaged appeared {when}")

        # 1. Opening: the error names the file and what could not be read.
        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        box, text = box_with(s, app, DAMAGE, "the error at opening")
        if not text.endswith("could not be read"):
            raise Failure(f"the error reads {text!r}")
        log(f"at opening: {text!r}")
        answer(s, box, "OK", "the error")

        # 2. F8, a hero renamed, Apply: asked, and No writes nothing.
        s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")
        s.key("F8")
        dialog = s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], "DataBase", "the DataBase window", timeout=20)
        s.set_text(s.find(dialog, "the hero's name", ["TEXT", "ENTRY"], name="Name"), "Renamed", "the hero's name")
        apply_button = s.find(dialog, "the Apply button", ["PUSH_BUTTON"], name="Apply")
        wait_for("Apply to be enabled",
                 lambda: (apply_button.clearCache() or True)
                 and apply_button.getState().contains(s.pyatspi.STATE_ENABLED), 10)
        s.click(apply_button)
        box, question = box_with(s, app, DAMAGE, "the question of Apply")
        if "GMK_RT.kdb.damaged" not in question or "Replace it" not in question:
            raise Failure(f"the question reads {question!r}")
        answer(s, box, "No", "the question of Apply")
        unchanged("by Apply answered No")

        # 3. OK asks too; No keeps the window and the file.
        s.click(s.find(dialog, "the OK button", ["PUSH_BUTTON"], name="OK"))
        box, _ = box_with(s, app, DAMAGE, "the question of OK")
        answer(s, box, "No", "the question of OK")
        unchanged("by OK answered No")

        # 4. Cancel closes at once, asking nothing: the unsaved change goes, the file stays.
        s.click(s.find(dialog, "the Cancel button", ["PUSH_BUTTON"], name="Cancel"))
        s.gone(dialog, "the DataBase window to close")
        unchanged("when the window closed")
        log("Apply and OK answered No: GMK_RT.kdb is byte-identical, no .damaged copy")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=55)
