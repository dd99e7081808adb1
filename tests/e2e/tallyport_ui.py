"""Drives Tallyport the way a person would, for the end-to-end scenarios.

Elements are found on the AT-SPI accessibility bus by accessible name and role;
input is real X pointer and keyboard input (xdotool) at the element's place on
screen, so the app gets the same events as from a person. Runs inside the
`session` script, with /usr/bin/python3 (Debian's pyatspi is not visible to a
pyenv or venv interpreter).

    s = Scenario()                    # app path from the command line
    with s.step("window appears"):
        app = s.launch()
    with s.step("shows the version"):
        app.wait_for("1.14", role="label")
    sys.exit(s.finish())

Qt Quick 6.4 over AT-SPI:
- Button is "push button", Switch and CheckBox "check box" (state "checked"),
  TextField "text" ("password text" when masked), Label "label", Dialog
  "dialog", Menu and ComboBox entries "menu item", ItemDelegate "list item".
- A plain Item or Rectangle is absent unless it sets Accessible.role and
  Accessible.name; give every control a unique Accessible.name.
- Popups, dialogs and menus are in the tree only while open. Elements that are
  not showing (hidden, or scrolled out of a ListView) are skipped.
- The AT-SPI Press and Toggle actions do not emit clicked() or toggled(),
  hence the real clicks. There is no EditableText: fields are typed into.
- There is no window manager: windows sit at 0,0 without decorations.
"""
import contextlib
import ctypes
import glob
import os
import signal
import subprocess
import sys
import time
import traceback

POLL = 0.1
TIMEOUT = 5.0
LAUNCH_TIMEOUT = 30.0
TEXT_ROLES = {"label", "static", "heading", "paragraph", "caption"}


class UiError(AssertionError):
    """An expectation about the window failed."""


class AppExited(UiError):
    """The app is no longer running: waiting for anything else is pointless."""


_pyatspi = None


def _atspi():
    # libatspi aborts the whole process when there is no accessibility bus, so
    # check for it before the first import.
    global _pyatspi
    if _pyatspi is None:
        if not os.environ.get("DISPLAY") or not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
            raise UiError("DISPLAY or DBUS_SESSION_BUS_ADDRESS not set: run inside tests/e2e/session")
        reply = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"], capture_output=True, text=True)
        if "boolean true" not in reply.stdout:
            raise UiError("no accessibility bus on this session bus: run inside tests/e2e/session")
        try:
            import pyatspi
        except ImportError as e:
            raise UiError("pyatspi not found: install python3-pyatspi and run with /usr/bin/python3") from e
        _pyatspi = pyatspi
    return _pyatspi


def _xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if result.returncode != 0:
        raise UiError("xdotool %s: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout


def _move_pointer(x, y):
    # xdotool 3.20160805 waits some 15 s for a `mousemove --sync` that does not move
    where = dict(kv.split("=", 1) for kv in _xdotool("getmouselocation", "--shell").split() if "=" in kv)
    if (int(where.get("X", -1)), int(where.get("Y", -1))) != (x, y):
        _xdotool("mousemove", "--sync", x, y)


def _wait(predicate, timeout, describe):
    """Polls predicate until it is true; on timeout raises UiError(describe())."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            if predicate():
                return
        except AppExited:
            raise
        except Exception:
            pass
        if time.monotonic() >= deadline:
            raise UiError(describe())
        time.sleep(POLL)


class Node:
    """One accessible element; every property is read live from the app."""

    def __init__(self, acc):
        self.acc = acc

    @property
    def name(self):
        return self.acc.name or ""

    @property
    def role(self):
        return self.acc.getRoleName()

    @property
    def states(self):
        return {_atspi().stateToString(s) for s in self.acc.getState().getStates()}

    @property
    def showing(self):
        return {"showing", "visible"} <= self.states

    @property
    def checked(self):
        return "checked" in self.states

    @property
    def focused(self):
        return "focused" in self.states

    @property
    def extents(self):
        """(x, y, width, height) on the screen."""
        e = self.acc.queryComponent().getExtents(_atspi().DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    @property
    def text(self):
        """The text of an editable field, or of the first descendant that has one
        (a ComboBox shows its current item that way)."""
        for node in self.walk():
            try:
                return node.acc.queryText().getText(0, -1)
            except NotImplementedError:
                continue
        return ""

    def children(self):
        found = []
        for i in range(self.acc.childCount):
            try:
                child = self.acc.getChildAtIndex(i)
            except Exception:   # removed while we looked
                continue
            if child is not None:
                found.append(Node(child))
        return found

    def walk(self):
        """This node and its descendants, depth first in tree order."""
        stack = [self]
        while stack:
            node = stack.pop()
            yield node
            try:
                stack.extend(reversed(node.children()))
            except Exception:
                pass

    def __repr__(self):
        try:
            return "[%s] %r" % (self.role, self.name)
        except Exception:
            return "[gone]"


def _die_with_parent():
    # The app must not outlive a scenario that is killed outright.
    ctypes.CDLL(None).prctl(1, signal.SIGTERM)   # PR_SET_PDEATHSIG


class App:
    """A running Tallyport: its process, its log and its accessible tree."""

    def __init__(self, proc, log_path, acc):
        self.proc = proc
        self.log_path = log_path
        self.root = Node(acc)

    # -- looking up ------------------------------------------------------------
    def _visible(self):
        self._check_running()
        try:
            self.root.acc.clear_cache()   # names, states and children change all the time
        except Exception:
            pass
        found = []
        for node in self.root.walk():
            try:
                if node is not self.root and node.showing:
                    found.append(node)
            except Exception:
                continue
        return found

    @staticmethod
    def _matches(node, name, role, contains):
        try:
            return ((name is None or node.name == name) and (role is None or node.role == role)
                    and (contains is None or contains in node.name))
        except Exception:
            return False

    def find_all(self, name=None, role=None, contains=None):
        """Every showing element with that exact name, role and name fragment."""
        return [n for n in self._visible() if self._matches(n, name, role, contains)]

    def find(self, name=None, role=None, contains=None, index=0, timeout=0.0):
        """The index-th showing element that matches, waiting up to timeout seconds."""
        found = []

        def present():
            found[:] = self.find_all(name, role, contains)
            return len(found) > index

        what = ", ".join("%s=%r" % kv for kv in (("name", name), ("role", role), ("contains", contains))
                         if kv[1] is not None)
        _wait(present, timeout, lambda: "no element %s%s after %.1f s. Showing now:\n  %s"
              % (what, " #%d" % index if index else "", timeout, "\n  ".join(self.names()) or "(nothing)"))
        return found[index]

    def wait_for(self, name=None, role=None, contains=None, timeout=TIMEOUT):
        return self.find(name, role, contains, timeout=timeout)

    def wait_gone(self, name=None, role=None, contains=None, timeout=TIMEOUT):
        _wait(lambda: not self.find_all(name, role, contains), timeout,
              lambda: "still showing after %.1f s: name=%r role=%r contains=%r" % (timeout, name, role, contains))

    def wait_until(self, predicate, describe, timeout=TIMEOUT):
        """Waits until predicate() is true; describe() says what was expected."""
        _wait(predicate, timeout, lambda: "%s, not after %.1f s" % (describe(), timeout))

    def _node(self, target, role):
        return target if isinstance(target, Node) else self.find(target, role, timeout=TIMEOUT)

    # -- reading ---------------------------------------------------------------
    @property
    def name(self):
        """The application's name on the accessibility bus."""
        return self.root.name

    def window(self):
        """The main window."""
        return self.find(role="frame", timeout=TIMEOUT)

    def texts(self):
        """The texts of every showing label, in tree order."""
        return [n.name for n in self._visible() if n.role in TEXT_ROLES and n.name]

    def names(self):
        """'[role] name' of every showing named element, for error messages."""
        return [repr(n) for n in self._visible() if n.name]

    def log(self):
        """What the app wrote to stdout and stderr so far."""
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def _check_running(self):
        if self.proc.poll() is not None:
            raise AppExited("the app exited with code %s.%s"
                            % (self.proc.returncode, _log_tail(self.log_path)))

    # -- input -----------------------------------------------------------------
    def click(self, target, role=None, button=1):
        """Clicks the element's centre with the real pointer."""
        node = self._node(target, role)
        x, y, w, h = node.extents
        if w <= 0 or h <= 0:
            raise UiError("%r has no area on screen" % node)
        _move_pointer(x + w // 2, y + h // 2)
        time.sleep(0.05)
        _xdotool("click", button)
        return node

    def key(self, *keys):
        """Presses keys by X name: 'Return', 'Escape', 'ctrl+a', 'Tab'."""
        _xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, target, text, clear=True, role=None):
        """Clicks into a field, replaces (or appends to) its text by typing,
        and checks that the field shows it. Cyrillic works."""
        node = self._node(target, role)
        before = node.text
        self.click(node)
        self.wait_until(lambda: node.focused, lambda: "%r focused after the click" % node, 2.0)
        if clear:
            self.key("ctrl+a", "BackSpace")
        else:
            self.key("End")
        if text:
            _xdotool("type", "--clearmodifiers", "--delay", 15, "--", text)
        if node.role != "password text":
            want = text if clear else before + text
            self.wait_until(lambda: node.text == want, lambda: "%r shows %r (has %r)" % (node, want, node.text), 2.0)
        return node

    def toggle(self, target, to=None, role=None):
        """Clicks a Switch or CheckBox (unless it already is `to`); returns the new state."""
        node = self._node(target, role)
        old = node.checked
        if to is None or old != bool(to):
            self.click(node)
            self.wait_until(lambda: node.checked != old, lambda: "%r changes from checked=%s" % (node, old), 2.0)
        return node.checked

    def select(self, combo, item, role="combo box"):
        """Opens a ComboBox, clicks `item` in its list and checks the shown text."""
        node = self._node(combo, role)
        if node.text == item:
            return node
        self.click(node)
        self.click(self.find(item, role="menu item", timeout=TIMEOUT))
        self.wait_until(lambda: node.text == item, lambda: "%r shows %r (has %r)" % (node, item, node.text), 2.0)
        return node

    def menu(self, target, item, role=None):
        """Right-clicks `target`, then clicks the context-menu entry `item`."""
        self.click(target, role, button=3)
        self.click(self.find(item, role="menu item", timeout=TIMEOUT))

    def drag(self, source, dest, steps=12):
        """Presses on `source`, moves onto `dest` in small steps and releases
        (Qt Quick internal drags and XDND text drags alike)."""
        start = self._node(source, None)
        end = self._node(dest, None)
        sx, sy, sw, sh = start.extents
        dx, dy, dw, dh = end.extents
        sx, sy, dx, dy = sx + sw // 2, sy + sh // 2, dx + dw // 2, dy + dh // 2
        _move_pointer(sx, sy)
        time.sleep(0.05)
        _xdotool("mousedown", 1)
        time.sleep(0.05)
        for i in range(1, steps + 1):
            _move_pointer(sx + (dx - sx) * i // steps, sy + (dy - sy) * i // steps)
            time.sleep(0.03)
        time.sleep(0.15)
        _xdotool("mouseup", 1)

    # -- the rest --------------------------------------------------------------
    def screenshot(self, path):
        """Saves the main window as a PNG (ImageMagick `import`)."""
        x, y, w, h = self.window().extents
        result = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", path],
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise UiError("screenshot failed: %s" % result.stderr.strip())
        return path

    def quit(self, timeout=5.0):
        """Stops the app with SIGTERM (SIGKILL after timeout); returns its exit code."""
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        return self.proc.returncode


def _log_tail(path, lines=20):
    try:
        with open(path, errors="replace") as f:
            tail = f.read().splitlines()[-lines:]
    except OSError:
        return ""
    return " Last output (%s):\n  %s" % (path, "\n  ".join(tail)) if tail else ""


def _application(pid):
    desktop = _atspi().Registry.getDesktop(0)
    for i in range(desktop.childCount):
        try:
            acc = desktop.getChildAtIndex(i)
            if acc is not None and acc.get_process_id() == pid:
                return acc
        except Exception:
            continue
    return None


def _has_window(acc):
    acc.clear_cache()
    return any(c.showing and c.extents[2] > 0 for c in Node(acc).children())


def launch(program, args=(), env=None, log_path=None, timeout=LAUNCH_TIMEOUT):
    """Starts the app and waits until its window shows on the accessibility bus."""
    _atspi()
    if log_path is None:
        log_path = os.path.join(scratch_dir(), "app-%d.log" % int(time.time() * 1000))
    with open(log_path, "wb") as log:
        proc = subprocess.Popen([program, *args], env={**os.environ, **(env or {})}, stdin=subprocess.DEVNULL,
                                stdout=log, stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
    found = []

    def shown():
        if proc.poll() is not None:
            return True
        found[:] = [_application(proc.pid)]
        return found[0] is not None and _has_window(found[0])

    try:
        _wait(shown, timeout, lambda: "%s showed no window on the accessibility bus within %.0f s.%s"
              % (program, timeout, _log_tail(log_path)))
    except UiError:
        proc.kill()
        proc.wait()
        raise
    if proc.poll() is not None:
        raise UiError("%s exited with code %s before showing a window.%s"
                      % (program, proc.returncode, _log_tail(log_path)))
    return App(proc, log_path, found[0])


def _explain(error):
    if isinstance(error, UiError):
        return str(error)
    if isinstance(error, AssertionError) and str(error):
        where = traceback.extract_tb(error.__traceback__)[-1]
        return "%s:%d: %s" % (os.path.basename(where.filename), where.lineno, error)
    return traceback.format_exc().rstrip()


def scratch_dir():
    """The session's scratch folder (removed with the session unless --keep)."""
    return os.environ.get("E2E_SCRATCH") or os.getcwd()


class Scenario:
    """Runs the steps of one scenario and reports them:

        ok  <step>  [seconds]
        FAIL  <step>
              <why>
        N passed, N failed

    A failed step does not stop the scenario while the app still runs; once the
    app has gone, the remaining steps are skipped. Usage: scenario.py
    PATH/TO/tallyport. Screenshots go to $TALLYPORT_SCREENSHOTS when set, else to
    the session's scratch folder."""

    def __init__(self, argv=None):
        argv = sys.argv if argv is None else argv
        if len(argv) != 2:
            sys.exit("usage: %s PATH/TO/tallyport" % os.path.basename(argv[0]))
        if not os.access(argv[1], os.X_OK):
            sys.exit("%s: the app %s is missing or not executable" % (os.path.basename(argv[0]), argv[1]))
        self.name = os.path.splitext(os.path.basename(argv[0]))[0]
        self.program = os.path.abspath(argv[1])
        self.shots = os.environ.get("TALLYPORT_SCREENSHOTS") or scratch_dir()
        for old in glob.glob(os.path.join(glob.escape(self.shots), self.name + "-failure-*.png")):
            os.remove(old)
        self.app = None
        self.passed = self.failed = 0

    def launch(self, args=(), env=None):
        """Starts the app (stopping the one from a previous launch)."""
        if self.app is not None:
            self.app.quit()
            self.app = None
        self.app = launch(self.program, args, env)
        return self.app

    def screenshot(self, label):
        """Saves the window as <scenario>-<label>.png and returns the path."""
        os.makedirs(self.shots, exist_ok=True)
        return self.app.screenshot(os.path.join(self.shots, "%s-%s.png" % (self.name, label)))

    def _running(self):
        return self.app is not None and self.app.proc.poll() is None

    @contextlib.contextmanager
    def step(self, title):
        started = time.monotonic()
        try:
            yield
        except Exception as e:
            self.failed += 1
            why = _explain(e)
            print("FAIL  %s\n      %s" % (title, why.replace("\n", "\n      ")))
            if not self._running():
                print("      the app is not running: the remaining steps are skipped")
                sys.exit(self.finish())
            self._failure_screenshot()
        else:
            self.passed += 1
            print("ok  %s  [%.1f s]" % (title, time.monotonic() - started))
        sys.stdout.flush()

    def _failure_screenshot(self):
        try:
            print("      screenshot: %s" % self.screenshot("failure-%d" % self.failed))
        except Exception as e:
            print("      no screenshot: %s" % e)

    def finish(self):
        """Stops the app, prints the tally; returns the exit status."""
        if self.app is not None:
            self.app.quit()
        print("%d passed, %d failed" % (self.passed, self.failed), flush=True)
        return 1 if self.failed or not self.passed else 0
