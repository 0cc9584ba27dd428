#!/usr/bin/python3
"""F9 plays the game: a new project's own runtime (the real player, copied from the template) starts
in a window titled with the game's title, with the test play's words on its command line, takes the
arrow keys and keeps playing; meanwhile the editor shows "Test Play - Close", and once the game ends
the editor is back and answers again.

usage: TestPlayA11y.py QUILLON QUILLON_CLI
"""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11ykit  # noqa: E402
from a11ykit import Failure, Session, log, wait_for  # noqa: E402

WAIT_CAPTION = "Test Play - Close"


def window_named(name):
    """The X window whose name is exactly `name`, or None."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"],
                         capture_output=True, text=True, timeout=5)
    ids = out.stdout.split()
    return ids[0] if ids else None


def player_of(project):
    """The pid of the project's GMK_RT.exe and its arguments, or None."""
    program = os.path.join(project, "GMK_RT.exe")
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                words = [w.decode() for w in f.read().split(b"\0") if w]
        except OSError:
            continue
        if words and os.path.realpath(words[0]) == os.path.realpath(program):
            return int(pid), words[1:]
    return None


def main():
    if len(sys.argv) != 3:
        raise Failure("usage: TestPlayA11y.py QUILLON QUILLON_CLI")
    quillon, cli = sys.argv[1], sys.argv[2]
    with Session(quillon, "test-play") as s:
        project = a11ykit.new_project(cli, s.work)
        placed = subprocess.run([cli, "event", project, "1", "party", "3", "3"], capture_output=True, text=True,
                                timeout=30)
        if placed.returncode != 0:
            raise Failure(f"quillon-cli event party: {placed.stderr.strip()}")
        os.environ["SDL_AUDIODRIVER"] = "dummy"
        s.start_editor([project], config_dir=os.path.join(s.work, "config"))
        app = s.application()
        s.top_window(app, ["FRAME", "WINDOW"], "Quillon", "the main window", timeout=20)
        s.focus_window_of_editor("Quillon")
        s.key("F9")

        try:
            game = wait_for("the game's window titled \"Quest\"", lambda: window_named("Quest"), timeout=20)
        except Failure:
            names = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", ""], capture_output=True,
                                   text=True, timeout=5).stdout.split()
            log(f"windows: {[s.xdotool('getwindowname', w).strip() for w in names]}; runtime: {player_of(project)}")
            raise
        found = wait_for("the project's GMK_RT.exe to run", lambda: player_of(project), timeout=10)
        pid, words = found
        if words[:1] != ["TestPlay"]:
            raise Failure(f"the runtime was started with {words}")
        s.top_window(app, ["DIALOG", "FRAME", "WINDOW"], WAIT_CAPTION, "the editor's wait window", timeout=10)
        log(f"F9 started the player (pid {pid}) with {' '.join(words)}")

        # The window is looked up before each key: the player's renderer may replace the first window.
        time.sleep(0.5)
        for key in ["Down", "Right", "Up", "Left", "z"]:
            game = wait_for("the game's window", lambda: window_named("Quest"), timeout=5)
            s.xdotool("key", "--window", game, key)
            time.sleep(0.2)
        if player_of(project) is None:
            raise Failure("the player ended while playing")

        os.kill(pid, signal.SIGTERM)
        wait_for("the player to end", lambda: player_of(project) is None, timeout=10)
        wait_for("the editor's wait window to close",
                 lambda: not [w for w in s.editor_windows()
                              if s.xdotool("getwindowname", w).strip().startswith(WAIT_CAPTION)], timeout=10)
        # The editor answers again: a second F9 starts the game again.
        s.focus_window_of_editor("Quillon")
        s.key("F9")
        wait_for("the game's window after a second F9", lambda: window_named("Quest"), timeout=20)
        again = wait_for("the second run of GMK_RT.exe", lambda: player_of(project), timeout=10)
        os.kill(again[0], signal.SIGTERM)
        wait_for("the second run to end", lambda: player_of(project) is None, timeout=10)
        if s.editor.poll() is not None:
            raise Failure(f"the editor ended with {s.editor.returncode}")
        log("the editor is back after each test play")


if __name__ == "__main__":
    a11ykit.run(main, budget_seconds=70)
