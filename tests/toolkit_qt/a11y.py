"""Driving the phone's windows through the accessibility bus (AT-SPI), the
way assistive technology does: find a control by its skin name, press it,
type into it, read its text, wait for conditions. No pixel coordinates
(though a control's screen rectangle is there for real clicks).

Every control of a toolkit window is on the bus with
  - its role (push button, radio button, check box, text, password text,
    label, list, list item, combo box, page tab list, page tab, ...),
  - its name (the visible text, else the tooltip; an edit's prompt text),
  - its description: the control's skin name ("login_btn", "CalledBtn"),
  - its states (showing, enabled, focused, checked, selected),
  - actions: "Press" (buttons, options, check boxes, combos), "select"
    and "activate" (list items: a click and a double click), "SetFocus"
    (edits); edits take text through the editable-text interface.
An action runs on the phone's UI thread after the call returned, so a
message box it opens never blocks the test.

Run with /usr/bin/python3 (python3-pyatspi), inside scripts/with-display
(it starts the accessibility bus; the phone switches its bridge on at
start-up).

    import sys; sys.path.insert(0, "tests/toolkit_qt")
    import a11y

    app = a11y.App.launch(["./veltophone"], cwd="build/bin")
    login = app.window("登录")                    # a top-level window by title
    login.find("user").type("13800000000")        # by skin name
    login.find("password").type("secret")
    login.find("login_btn").press()
    main = app.window("Velto网络电话", timeout=30)
    a11y.wait_until(lambda: main.find("userNameLayout").text() != "")
    box = app.message_box(text="登录失败")         # a message box by its text
    box.press("确定")                              # its button by name
    app.close()

Waiting: wait_until(pred, timeout) polls pred() (exceptions count as "not
yet") and returns its first true value or raises TimeoutError. Every find
waits too (timeout= argument, 20 s by default), so a control that appears
a moment later is found.

Events: with app.events("object:children-changed") as log: ... then
log.wait(lambda e: e.type.endswith(":add")) -- the events of this
application only.
"""
import os
import queue
import re
import signal
import subprocess
import threading
import time

import pyatspi
from gi.repository import Atspi, GLib

DEFAULT_TIMEOUT = 20.0


def _pump():
    """Lets the bus library deliver queued events."""
    ctx = GLib.MainContext.default()
    while ctx.iteration(False):
        pass


def wait_until(pred, timeout=DEFAULT_TIMEOUT, interval=0.03, what=None):
    """Polls pred() until it returns something true; returns that value.
    Exceptions from pred (a window or control going away) count as false."""
    end = time.monotonic() + timeout
    last_error = None
    while True:
        _pump()
        try:
            value = pred()
            if value:
                return value
        except Exception as e:  # noqa: BLE001 - anything the bus throws
            last_error = e
        if time.monotonic() >= end:
            detail = what or getattr(pred, "__name__", "condition")
            if last_error:
                detail += " (last error: %s)" % last_error
            raise TimeoutError("timed out after %.0f s waiting for %s" % (timeout, detail))
        time.sleep(interval)


class Node:
    """One accessible object (a control, a window, a message box button)."""

    def __init__(self, acc):
        self.acc = acc

    # ---- what it is ----
    @property
    def name(self):
        return self.acc.name or ""

    @property
    def skin_name(self):
        return self.acc.description or ""

    @property
    def role(self):
        return self.acc.getRoleName()

    def states(self):
        return {pyatspi.stateToString(s) for s in self.acc.getState().getStates()}

    def has_state(self, state):
        return self.acc.getState().contains(getattr(pyatspi, "STATE_" + state.upper().replace("-", "_")))

    @property
    def showing(self):
        return self.has_state("showing")

    @property
    def enabled(self):
        return self.has_state("enabled")

    @property
    def focused(self):
        return self.has_state("focused")

    @property
    def checked(self):
        return self.has_state("checked")

    @property
    def selected(self):
        return self.has_state("selected")

    def extents(self):
        """(x, y, width, height) on the screen."""
        e = self.acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (e.x, e.y, e.width, e.height)

    def text(self):
        """The text the control shows (an edit's content; a password edit
        shows one dot per character), else its name."""
        try:
            t = self.acc.queryText()
            return t.getText(0, -1)
        except NotImplementedError:
            return self.name

    def children(self):
        return [Node(c) for c in self.acc if c is not None]

    def __repr__(self):
        return "<%s %r %r>" % (self.role, self.skin_name, self.name)

    # ---- finding ----
    def walk(self, showing_only=True):
        """This node's descendants, depth first (hidden subtrees skipped
        unless showing_only is False)."""
        stack = list(reversed(self.children()))
        while stack:
            node = stack.pop()
            try:
                if showing_only and not node.showing:
                    continue
                yield node
                stack.extend(reversed(node.children()))
            except Exception:  # noqa: BLE001 - gone while walking
                continue

    def find_now(self, skin_name=None, role=None, name=None, showing_only=True):
        for node in self.walk(showing_only):
            if skin_name is not None and node.skin_name != skin_name:
                continue
            if role is not None and node.role != role:
                continue
            if name is not None and node.name != name:
                continue
            return node
        return None

    def find(self, skin_name=None, role=None, name=None, timeout=DEFAULT_TIMEOUT, showing_only=True):
        """The first control (in tree order) with that skin name (and role
        and name when given), waiting for it to appear."""
        return wait_until(lambda: self.find_now(skin_name, role, name, showing_only), timeout,
                          what="control %r role=%r name=%r" % (skin_name, role, name))

    def find_all(self, skin_name=None, role=None, showing_only=True):
        return [n for n in self.walk(showing_only)
                if (skin_name is None or n.skin_name == skin_name) and (role is None or n.role == role)]

    # ---- acting ----
    def actions(self):
        try:
            a = self.acc.queryAction()
        except NotImplementedError:
            return []
        return [a.getName(i) for i in range(a.nActions)]

    def do(self, action):
        a = self.acc.queryAction()
        for i in range(a.nActions):
            if a.getName(i).lower() == action.lower():
                return a.doAction(i)
        raise ValueError("%r has no action %r (has %s)" % (self, action, self.actions()))

    def press(self):
        """Presses a button, option, check box or combo (as a click does)."""
        self.do("Press")

    def select(self):
        """Selects a list item (as a click on it does: "itemclick")."""
        self.do("select")

    def activate(self):
        """Activates a list item (as a double click does: "itemactivate")."""
        self.do("activate")

    def type(self, text, timeout=DEFAULT_TIMEOUT):
        """Replaces an edit's text (the edit takes the focus first, its limits
        apply) and waits until the edit shows it."""
        self.acc.queryEditableText().setTextContents(text)
        expected_len = len(text.encode("utf-16-le")) // 2
        if "password text" == self.role:
            wait_until(lambda: len(self.text()) == expected_len, timeout, what="password typed")
        else:
            wait_until(lambda: self.text() == text, timeout, what="text %r typed" % text)

    def click(self, button=1):
        """A real pointer click at the middle of the control (xdotool)."""
        x, y, w, h = self.extents()
        subprocess.run(["xdotool", "mousemove", str(x + w // 2), str(y + h // 2), "click", str(button)], check=True)


class EventLog:
    """Collects the bus events of one application while active."""

    def __init__(self, pid, types):
        self.pid = pid
        self.types = types
        self.events = []

    def _on_event(self, event):
        try:
            app = event.source.get_application()
            if app is None or app.get_process_id() != self.pid:
                return
        except Exception:  # noqa: BLE001
            return
        self.events.append(event)

    def __enter__(self):
        pyatspi.Registry.registerEventListener(self._on_event, *self.types)
        _pump()
        return self

    def __exit__(self, *exc):
        pyatspi.Registry.deregisterEventListener(self._on_event, *self.types)

    def wait(self, pred, timeout=DEFAULT_TIMEOUT):
        """Waits for an event e with pred(e) true, returns it."""
        return wait_until(lambda: next((e for e in self.events if pred(e)), None), timeout, what="event")


class App:
    """A running program on the accessibility bus."""

    def __init__(self, pid, process=None):
        self.pid = pid
        self.process = process
        self.lines = queue.Queue()
        self.output = []
        self.root = wait_until(self._find_app, DEFAULT_TIMEOUT, what="application %d on the bus" % pid)

    @classmethod
    def launch(cls, argv, cwd=None, env=None):
        """Starts a program (its stdout is collected line by line) and waits
        until it is on the bus."""
        full_env = dict(os.environ)
        full_env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        if env:
            full_env.update(env)
        process = subprocess.Popen(argv, cwd=cwd, env=full_env, stdout=subprocess.PIPE, text=True, bufsize=1)
        app = cls.__new__(cls)
        app.pid = process.pid
        app.process = process
        app.lines = queue.Queue()
        app.output = []
        threading.Thread(target=app._read, daemon=True).start()
        app.root = wait_until(app._find_app, DEFAULT_TIMEOUT, what="application %d on the bus" % process.pid)
        return app

    @classmethod
    def attach(cls, pid):
        return cls(pid)

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    def _find_app(self):
        if self.process is not None and self.process.poll() is not None:
            raise RuntimeError("the program ended with code %s" % self.process.returncode)
        desktop = pyatspi.Registry.getDesktop(0)
        for a in desktop:
            if a is not None and a.get_process_id() == self.pid:
                # No stale cached values: always ask the program.
                a.set_cache_mask(Atspi.Cache.NONE)
                return Node(a)
        return None

    # ---- windows ----
    def windows(self):
        return [w for w in self.root.children()]

    def window(self, title, timeout=DEFAULT_TIMEOUT):
        """A shown top-level window with that title."""
        return wait_until(lambda: next((w for w in self.windows() if w.name == title and w.showing), None),
                          timeout, what="window %r" % title)

    def message_box(self, text=None, caption=None, timeout=DEFAULT_TIMEOUT):
        """A shown message box (by its text and/or caption)."""
        def find():
            for w in self.windows():
                if w.role not in ("alert", "dialog") or not w.showing:
                    continue
                if caption is not None and w.name != caption:
                    continue
                if text is not None and w.find_now(role="label", name=text) is None:
                    continue
                return MessageBox(w.acc)
            return None
        return wait_until(find, timeout, what="message box %r" % (text or caption))

    # ---- the program's own output (qv-gallery writes one line per event) ----
    def read_lines(self):
        while True:
            try:
                self.output.append(self.lines.get_nowait())
            except queue.Empty:
                return self.output

    def wait_line(self, pattern, timeout=DEFAULT_TIMEOUT, start=0):
        """Waits for an output line matching the regular expression; returns it."""
        rx = re.compile(pattern)
        return wait_until(lambda: next((l for l in self.read_lines()[start:] if rx.search(l)), None), timeout,
                          what="output line /%s/" % pattern)

    def events(self, *types):
        return EventLog(self.pid, types)

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.process is not None and self.process.stdout:
            self.process.stdout.close()


class MessageBox(Node):
    @property
    def message(self):
        labels = [n.name for n in self.walk() if n.role == "label" and n.name]
        return labels[0] if labels else ""

    def buttons(self):
        return [n for n in self.walk() if n.role == "push button"]

    def press(self, button_name):
        """Presses the button with that name ("确定", "取消", "是", "否")."""
        for b in self.buttons():
            if b.name.replace("&", "").split("(")[0] == button_name:
                b.press()
                return
        raise ValueError("no button %r in %s" % (button_name, [b.name for b in self.buttons()]))
