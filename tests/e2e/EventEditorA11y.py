#!/usr/bin/python3
"""An event made the way a keyboard user makes one: event mode (F7), the arrow keys to a cell,
Return opens the event editor; the name typed through the accessibility bus; Return on the empty
command line opens the command palette, " Show Message..." the message dialog; the text typed,
OK in both dialogs; the command list read as a list whose rows are the script's lines; Ctrl+S.
The saved map holds the event on that cell with that message on page 1. On the way, every input
of the event editor, the palette and the message dialog must carry an accessible name.

usage: EventEditorA11y.py QUILLON QUILLON_CLI
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, dump, log, press, wait_for  # noqa: E402

EVENT_NAME = "Gatekeeper"
MESSAGE = "Halt! Who goes there?"
CELL = (3, 2)  # the first arrow key shows the cursor on the top left cell; then three right, two down

# Roles a user types into, picks from or presses; each of them needs a name a screen reader reads.
INPUT_ROLES = ["TEXT", "ENTRY", "SPIN_BUTTON", "COMBO_BOX", "CHECK_BOX", "RADIO_BUTTON", "PUSH_BUTTON",
               "LIST", "TABLE", "TREE", "TREE_TABLE", "PAGE_TAB_LIST", "SLIDER"]


def unnamed_inputs(s, window):
    """Inputs below window that show on screen and have no accessible name: "role at x,y"."""
    wanted = {s.role(r) for r in INPUT_ROLES}
    showing = s.pyatspi.STATE_SHOWING
    found = []

    def walk(acc, depth):
        if acc is None or depth > 40:
            return
        try:
            role = acc.getRole()
            state = acc.getState()
        except Exception:  # noqa: BLE001 - a widget that went away while we looked
            return
        if role in wanted and state.contains(showing) and not (acc.name or "").strip():
            try:
                box = acc.queryComponent().getExtents(s.pyatspi.WINDOW_COORDS)
                where = f"{box.x},{box.y} {box.width}x{box.height}"
            except Exception:  # noqa: BLE001
                where = "?"
            found.append(f"{acc.getRoleName()} at {where}")
        # Items of lists and tabs are data, not inputs: their container was checked.
        if role in (s.role("LIST"), s.role("TABLE"), s.role("TREE"), s.role("TREE_TABLE"), s.role("COMBO_BOX")):
            return
        for i in range(acc.childCount):
            walk(acc.getChildAtIndex(i), depth + 1)

    window.clearCache()
    walk(window, 0)
    return found


def require_named(s, window, what):
    missing = unnamed_inputs(s, window)
    if missing:
        raise Failure(f"inputs of {what} without an accessible name: {', '.join(missing)}")
    log(f"{what}: every input has an accessible name")


def new_dialog(s, app, known, what, timeout=15):
    """A top-level window of the editor that shows now and was not among `known`."""
    def probe():
        app.clearCache()
        for i in range(app.childCount):
            window = app.getChildAtIndex(i)
            if window is None or window in known:
                continue
            if window.getState().contains(s.pyatspi.STATE_SHOWING) and window.getRole() in (
                    s.role("DIALOG"), s.role("FRAME"), s.role("WINDOW")):
                return window
        return None

    return wait_for(what, probe, timeout)


def showing_windows(s, app):
    app.clearCache()
    out = []
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.getState().contains(s.pyatspi.STATE_SHOWING):
            out.append(window)
    return out


def focus(s, acc, what):
    def probe():
        acc.queryComponent().grabFocus()
        acc.clearCache()
        return acc.getState().contains(s.pyatspi.STATE_FOCUSED)

    wait_for(f"{what} to take the keyboard", probe, timeout=10, interval=0.3)


def event_on_cell(cli, map_file):
    events = dump(cli, map_file)["Map"].get("Events") or []
    return next((e for e in events if (e.get("X"), e.get("Y")) == CELL), None)


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: EventEditorA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "event-editor") as s:
        project = a11ykit.new_project(cli, s.work)
        map_file = os.path.join(project, "Map0001.kmu")
        if event_on_cell(cli, map_file) is not None:
            raise Failure(f"the sample map already has an event on {CELL}")

        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        main_window = s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")
        require_named(s, s.find(main_window, "the chip palette", ["LIST", "TABLE", "SCROLL_PANE", "FILLER",
                                                                  "PANEL", "CANVAS", "UNKNOWN"], name="Chip Palette"),
                      "the chip palette")

        # 1. Event mode, the keyboard on the map, the arrow keys to the cell, Return.
        s.key("F7")
        canvas = s.find(main_window, "the map canvas", ["SCROLL_PANE", "FILLER", "PANEL", "CANVAS", "UNKNOWN"],
                        name="Map")
        focus(s, canvas, "the map canvas")
        s.key("Right", "Right", "Right", "Right", "Down", "Down")
        before = showing_windows(s, app)
        s.key("Return")
        editor = new_dialog(s, app, before, "the event editor to open")
        if not (editor.name or "").startswith("Event Editor"):
            raise Failure(f"Return on an empty cell opened {editor.name!r}, not the event editor")
        log(f"event editor: {editor.name!r}")
        require_named(s, editor, "the event editor")

        # 2. The name, then the palette from the empty command line.
        s.set_text(s.find(editor, "the name edit", ["TEXT", "ENTRY"], name="Name"), EVENT_NAME, "the name edit")
        commands = s.find(editor, "the command list as a list", ["LIST", "TABLE"], name="Events Commands")
        s.focus_window_of_editor("Event Editor")
        focus(s, commands, "the command list")
        before = showing_windows(s, app)
        s.key("Return")
        palette = new_dialog(s, app, before, "the command palette to open")
        if palette.name != "Event Commands":
            raise Failure(f"Return on the empty command line opened {palette.name!r}")
        require_named(s, palette, "the command palette")

        # 3. Show Message: the text through the bus, then OK.
        before = showing_windows(s, app)
        press(s.find(palette, "the Show Message button", ["PUSH_BUTTON"], prefix="Show Message"), "Show Message")
        message = new_dialog(s, app, before, "the message dialog to open")
        log(f"message dialog: {message.name!r}")
        require_named(s, message, "the message dialog")
        s.set_text(s.find(message, "the message memo", ["TEXT", "ENTRY"], name="Message"), MESSAGE, "the message memo")
        press(s.find(message, "the message dialog's Ok", ["PUSH_BUTTON"], name="Ok"), "the message dialog's Ok")
        s.gone(message, "the message dialog to close")
        s.gone(palette, "the command palette to close")

        # The command list reads as its lines: the message is a row, and the cursor line (back on
        # the closing line below it) is selected.
        def rows():
            commands.clearCache()
            found = []
            for i in range(commands.childCount):
                row = commands.getChildAtIndex(i)
                if row is not None:
                    found.append((row.name or "", row.getState().contains(s.pyatspi.STATE_SELECTED)))
            return found if any(MESSAGE in name for name, _ in found) else None

        try:
            read = wait_for("the command list to read the message as a row", rows, timeout=10, interval=0.3)
        except Failure:
            commands.clearCache()
            raise Failure(f"the command list reads {commands.childCount} rows: "
                          f"{[commands.getChildAtIndex(i).name for i in range(commands.childCount)]}")
        log(f"command list rows: {read}")
        selected = [name for name, chosen in read if chosen]
        if len(read) != 2 or selected != [read[1][0]]:
            raise Failure(f"after the message the list should read it and the selected closing line: {read}")

        # 4. OK in the event editor, Ctrl+S in the main window.
        press(s.find(editor, "the event editor's Ok", ["PUSH_BUTTON"], name="Ok"), "the event editor's Ok")
        s.gone(editor, "the event editor to close")
        s.focus_window_of_editor("Quillon")
        s.key("ctrl+s")

        def saved():
            event = event_on_cell(cli, map_file)
            if event is None or event.get("Name") != EVENT_NAME:
                return None
            pages = event.get("Pages") or []
            first = next((p for p in pages if p.get("ID") == 1), None)
            script = (first or {}).get("Script") or []
            return event if any(line["Code"] == 10110 and line["Text"] == MESSAGE for line in script) else None

        try:
            event = wait_for("the saved map to hold the event with its message", saved, timeout=15, interval=0.3)
        except Failure:
            raise Failure(f"saved events: {dump(cli, map_file)['Map'].get('Events')}\n{s.editor_output()}")
        log(f"saved: event {event['ID']} {event['Name']!r} on {CELL} says {MESSAGE!r} on page 1")
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=100)
