"""Drives the real editor through the accessibility bus on a display of its own.

A session holds a virtual X display (Xvfb), a private session bus, the accessibility bus
launcher and the editor, each started here and ended here (also when a step fails). Widgets are
found by role and name through pyatspi with waiting; text goes in through the editable-text
and value interfaces; keys and clicks go through xdotool.

A test that cannot run here (a program or module missing) ends with status 77, which CTest
counts as skipped; it never passes without having run.
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77


class Skip(Exception):
    """The test cannot run on this machine."""


class Failure(Exception):
    """A step of the test went wrong."""


def log(message):
    print(message, flush=True)


def require_programs(*names):
    for name in names:
        if not (os.path.isabs(name) and os.access(name, os.X_OK)) and shutil.which(name) is None:
            raise Skip(f"{name} is not installed")


def wait_for(what, probe, timeout=15.0, interval=0.1):
    """Calls probe until it answers something true, and answers that. Errors of the bus (objects
    that went away, a busy application) count as "not yet"."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception as error:  # noqa: BLE001 - any bus error is retried until the deadline
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(interval)


class Session:
    """The display, the buses and the editor of one test; use it in a `with` block."""

    def __init__(self, quillon, name="a11y"):
        require_programs("Xvfb", "xdotool", "dbus-daemon", quillon)
        self.launcher = "/usr/libexec/at-spi-bus-launcher"
        if not os.access(self.launcher, os.X_OK):
            raise Skip(f"{self.launcher} is not installed (package at-spi2-core)")
        self.quillon = quillon
        self.work = tempfile.mkdtemp(prefix=f"quillon-{name}-")
        self.children = []  # (description, Popen), in start order
        self.bus_pid = None
        self.editor = None
        self.desktop = None
        self.pyatspi = None

    # --- lifetime ---

    def __enter__(self):
        # The tool runs of the test read and write settings of the test's own, as the editor
        # does: never the user's (a runtime package path left there by another build).
        config = os.path.join(self.work, "config")
        os.makedirs(config, exist_ok=True)
        os.environ["QUILLON_CONFIG_DIR"] = config
        try:
            self._start_display()
            self._start_buses()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        """Ends every process this session started, the editor first, and removes its folder."""
        for description, process in reversed(self.children):
            self._end(process)
        self.children.clear()
        if self.bus_pid:
            try:
                os.kill(self.bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            self.bus_pid = None
        shutil.rmtree(self.work, ignore_errors=True)

    @staticmethod
    def _end(process):
        if process.poll() is not None:
            return
        try:
            # Each child leads a process group of its own: what it started ends with it.
            os.killpg(process.pid, signal.SIGTERM)
        except ProcessLookupError:
            return
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            try:
                os.killpg(process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            process.wait(timeout=5)

    def _spawn(self, description, argv, **kwargs):
        process = subprocess.Popen(argv, start_new_session=True, **kwargs)
        self.children.append((description, process))
        return process

    def _start_display(self):
        read_end, write_end = os.pipe()
        self._spawn("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                    pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 10
        os.set_blocking(read_end, False)
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            try:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
            except BlockingIOError:
                time.sleep(0.05)
        os.close(read_end)
        if not number.strip():
            raise Failure("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.display
        os.environ.pop("WAYLAND_DISPLAY", None)

    def _start_buses(self):
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700)
        os.environ["XDG_RUNTIME_DIR"] = runtime
        out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                             capture_output=True, text=True, timeout=10)
        lines = out.stdout.split()
        if out.returncode != 0 or len(lines) < 2:
            raise Failure(f"dbus-daemon did not start: {out.stderr.strip()}")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = lines[0]
        self.bus_pid = int(lines[1])
        self._spawn("accessibility bus", [self.launcher, "--launch-immediately"],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("the accessibility bus", self._a11y_bus_address, timeout=10)
        # pyatspi connects on import: only now that the buses are ours.
        try:
            import gi  # noqa: F401
            import pyatspi
        except ImportError as error:
            raise Skip(f"the Python accessibility bindings are missing (python3-pyatspi): {error}")
        self.pyatspi = pyatspi
        self.desktop = pyatspi.Registry.getDesktop(0)

    @staticmethod
    def _a11y_bus_address():
        out = subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply=literal",
                              "/org/a11y/bus", "org.a11y.Bus.GetAddress"], capture_output=True, text=True, timeout=5)
        return out.returncode == 0 and out.stdout.strip().startswith("unix:")

    # --- the editor ---

    def start_editor(self, args, config_dir, env=None):
        os.makedirs(config_dir, exist_ok=True)
        tmp = os.path.join(self.work, "tmp")
        os.makedirs(tmp, mode=0o700, exist_ok=True)
        editor_env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                          QUILLON_CONFIG_DIR=config_dir, TMPDIR=tmp, QT_ACCESSIBILITY="1")
        editor_env.update(env or {})
        self.editor_log = os.path.join(self.work, "editor.log")
        with open(self.editor_log, "w") as out:
            self.editor = self._spawn("editor", [self.quillon, *args], env=editor_env, stdout=out,
                                      stderr=subprocess.STDOUT)
        return self.editor

    def editor_output(self):
        try:
            with open(self.editor_log) as f:
                return f.read()
        except OSError:
            return ""

    def application(self, timeout=20):
        """The editor's application object on the accessibility bus."""
        pid = self.editor.pid

        def probe():
            if self.editor.poll() is not None:
                raise Failure(f"the editor ended with {self.editor.returncode}:\n{self.editor_output()}")
            for i in range(self.desktop.childCount):
                app = self.desktop.getChildAtIndex(i)
                if app is not None and app.get_process_id() == pid:
                    return app
            return None

        return wait_for("the editor on the accessibility bus", probe, timeout)

    # --- finding widgets ---

    def role(self, name):
        return getattr(self.pyatspi, "ROLE_" + name)

    def find(self, root, what, roles, name=None, prefix=None, timeout=15, showing=True):
        """The first descendant of root with one of the roles (names as in pyatspi, "PUSH_BUTTON")
        whose name is `name` (or starts with `prefix`), waiting for it to show."""
        wanted = {self.role(r) for r in roles}
        states = self.pyatspi

        def matches(acc):
            if acc is None or acc.getRole() not in wanted:
                return False
            label = acc.name or ""
            if name is not None and label != name:
                return False
            if prefix is not None and not label.startswith(prefix):
                return False
            return not showing or acc.getState().contains(states.STATE_SHOWING)

        def probe():
            base = root() if callable(root) else root
            base.clearCache()
            if matches(base):
                return base
            return self.pyatspi.findDescendant(base, matches, breadth_first=True)

        return wait_for(what, probe, timeout)

    def top_window(self, app, roles, prefix, what, timeout=15):
        """A top-level window of the application whose name starts with prefix."""
        wanted = {self.role(r) for r in roles}

        def probe():
            app.clearCache()
            for i in range(app.childCount):
                window = app.getChildAtIndex(i)
                if window is not None and window.getRole() in wanted and (window.name or "").startswith(prefix):
                    if window.getState().contains(self.pyatspi.STATE_SHOWING):
                        return window
            return None

        return wait_for(what, probe, timeout)

    def gone(self, acc, what, timeout=15):
        def probe():
            try:
                acc.clearCache()
                return not acc.getState().contains(self.pyatspi.STATE_SHOWING)
            except Exception:  # noqa: BLE001 - a window that went away is gone
                return True

        wait_for(what, probe, timeout)

    # --- input ---

    def set_text(self, acc, text, what):
        editable = acc.queryEditableText()

        def probe():
            editable.setTextContents(text)
            acc.clearCache()
            shown = acc.queryText().getText(0, -1)
            return shown == text

        wait_for(f"{what} to read {text!r}", probe, timeout=5)

    def set_value(self, acc, value, what):
        control = acc.queryValue()

        def probe():
            control.currentValue = float(value)
            return int(round(control.currentValue)) == int(value)

        wait_for(f"{what} to hold {value}", probe, timeout=5)

    def xdotool(self, *args):
        out = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=10)
        if out.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)}: {out.stderr.strip()}")
        return out.stdout

    def centre(self, acc):
        box = acc.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        if box.width <= 0 or box.height <= 0:
            raise Failure(f"{acc.name!r} has no extent on screen")
        return box.x + box.width // 2, box.y + box.height // 2

    def click(self, acc):
        x, y = self.centre(acc)
        self.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)

    def editor_windows(self):
        """The X windows of the editor that are mapped now."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.editor.pid), "--name", ""],
                             capture_output=True, text=True, timeout=5)
        return out.stdout.split()

    def focus_window_of_editor(self, prefix):
        """Gives the keyboard to the editor's widest window whose title starts with prefix (there is no
        window manager to do so)."""
        def width(window):
            shell = self.xdotool("getwindowgeometry", "--shell", window)
            return next((int(line[6:]) for line in shell.splitlines() if line.startswith("WIDTH=")), 0)

        def probe():
            # --all: the editor's windows that carry the title (xdotool's default is either condition,
            # which matches every window of the editor).
            out = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.editor.pid),
                                  "--name", "^" + prefix], capture_output=True, text=True, timeout=5)
            # The widest: a splash window may carry the same title for a while.
            ids = sorted(out.stdout.split(), key=width)
            return ids[-1] if ids else None

        window = wait_for(f"the X window {prefix!r}", probe, timeout=15)
        self.xdotool("windowfocus", "--sync", window)
        return window


def new_project(cli, work, name="Quest"):
    """A fresh sample project made with quillon-cli below `work`; answers its folder."""
    base = os.path.join(work, "base")
    os.makedirs(base, exist_ok=True)
    made = subprocess.run([cli, "new-project", base, name, name], capture_output=True, text=True, timeout=60)
    if made.returncode != 0:
        raise Failure(f"quillon-cli new-project: {made.stderr.strip()}")
    return os.path.join(base, name)


def press(acc, what="the button"):
    """Presses a button through its accessible action, as a screen reader does."""
    action = acc.queryAction()
    if action.nActions == 0:
        raise Failure(f"{what} offers no action")
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def dump(cli, path):
    out = subprocess.run([cli, "dump", path], capture_output=True, text=True, timeout=30)
    if out.returncode != 0:
        raise Failure(f"quillon-cli dump {path}: {out.stderr.strip()}")
    return json.loads(out.stdout)


def run(main, budget_seconds=80):
    """Runs main() with an overall deadline; prints PASS, FAIL: … or SKIP: … and exits 0, 1 or 77."""
    def out_of_time(*_):
        raise Failure(f"the test took longer than {budget_seconds} s")

    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))  # CTest's timeout: still clean up
    signal.alarm(budget_seconds)
    try:
        main()
    except Skip as why:
        log(f"SKIP: {why}")
        sys.exit(SKIP)
    except Failure as why:
        log(f"FAIL: {why}")
        sys.exit(1)
    finally:
        signal.alarm(0)
    log("PASS")
    sys.exit(0)
