# Drives Tallyport the way a person would, for the end-to-end journeys.
#
# Elements are found on the AT-SPI accessibility bus by accessible name and role;
# input is real X pointer and keyboard input (xdotool) at the element's place on
# screen. Runs inside the `session` script, with /usr/bin/python3 (Debian's pyatspi).
#
# Qt Quick 6.4 over AT-SPI:
# - Button is "push button", Switch and CheckBox "check box" (state "checked"),
#   TextField "text", Label "label", Dialog "dialog", Menu and ComboBox entries
#   "menu item", ItemDelegate "list item". The app's masked fields are
#   "password text" without a name, labelled by their description.
# - A plain Item is absent unless it sets Accessible.role and Accessible.name;
#   give every control a unique Accessible.name.
# - Popups are in the tree only while open; elements not showing are skipped.
# - Press and Toggle actions do not emit clicked() or toggled(), hence real
#   clicks; there is no EditableText, hence typing. A disabled control lacks
#   the state "sensitive"; a focused one, and every focus scope around it,
#   has "focused".
# - There is no window manager: windows sit at 0,0 without decorations.
import contextlib
import ctypes
import datetime
import json
import os
import re
import signal
import subprocess
import sys
import time
import traceback
import uuid

from gi.repository import GLib

TIMEOUT = 5.0
# Lines the session's X server and buses make the app print, not the app's own
# (QSpiApplication: Qt gives the accessibility registry 100 ms to answer for
# each key, which a busy machine misses, and then the late answer arrives).
QUIET = re.compile(r"^(qt\.qpa\.|QStandardPaths: |QSpiApplication::)")
TEXT_ROLES = {"label", "static", "heading", "paragraph", "caption"}
SYSTEM_ID = "00000000-0000-0000-0000-000000000001"


class UiError(AssertionError):
    pass  # an expectation about the window failed


class AppExited(UiError):
    pass  # the app is no longer running: waiting for anything else is pointless


def _atspi():
    # libatspi aborts the process when there is no accessibility bus: check first.
    if "pyatspi" not in sys.modules and "boolean true" not in subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"], capture_output=True, text=True).stdout:
        raise UiError("no accessibility bus: run inside tests/e2e/session")
    import pyatspi
    return pyatspi


def xdotool(*args):
    result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True)
    if result.returncode != 0:
        raise UiError("xdotool %s: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout


def move_pointer(x, y):
    # xdotool waits some 15 s for a `mousemove --sync` that does not move
    where = dict(kv.split("=", 1) for kv in xdotool("getmouselocation", "--shell").split() if "=" in kv)
    if (int(where.get("X", -1)), int(where.get("Y", -1))) != (x, y):
        xdotool("mousemove", "--sync", x, y)


def wait(predicate, timeout, describe):
    # Polls predicate until it is true; on timeout raises UiError(describe()).
    deadline = time.monotonic() + timeout
    while True:
        while GLib.MainContext.default().iteration(False):
            pass  # delivers the AT-SPI events that App.focus follows
        try:
            if predicate():
                return
        except AppExited:
            raise
        except Exception:
            pass
        if time.monotonic() >= deadline:
            raise UiError(describe())
        time.sleep(0.05)


class Node:
    # One accessible element; every property is read live from the app.
    def __init__(self, acc):
        self.acc = acc

    name = property(lambda self: self.acc.name or "")
    description = property(lambda self: self.acc.description or "")
    role = property(lambda self: self.acc.getRoleName())
    states = property(lambda self: {_atspi().stateToString(s) for s in self.acc.getState().getStates()})
    focused = property(lambda self: "focused" in self.states)
    enabled = property(lambda self: "sensitive" in self.states)

    @property
    def extents(self):
        # (x, y, width, height) on the screen.
        e = self.acc.queryComponent().getExtents(_atspi().DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    @property
    def text(self):
        # The text of a field, or of the first descendant with one (a ComboBox's current item).
        for node in self.walk():
            with contextlib.suppress(NotImplementedError):
                return node.acc.queryText().getText(0, -1)
        return ""

    def walk(self):
        # This node and its descendants, depth first in tree order.
        stack = [self]
        while stack:
            node = stack.pop()
            yield node
            with contextlib.suppress(Exception):
                stack.extend(reversed([Node(c) for c in node.acc if c is not None]))

    def __repr__(self):
        with contextlib.suppress(Exception):
            return "[%s] %r" % (self.role, self.name)
        return "[gone]"


class App:
    # A running Tallyport: its process, its log, its accessible tree and
    # `focus`, the element that last took the keyboard focus as AT-SPI
    # announces it (searching the tree after every key is slow).
    def __init__(self, proc, log_path, acc):
        self.proc, self.log_path, self.root = proc, log_path, Node(acc)
        self.focus = None

    def all_nodes(self):
        # Every element, showing or not.
        if self.proc.poll() is not None:
            raise AppExited("the app exited with code %s.\n%s" % (self.proc.returncode, self.log()[-2000:]))
        self.root.acc.clear_cache()   # names, states and children change all the time
        return self.root.walk()

    def find_all(self, name=None, role=None, contains=None):
        # Every showing element with that exact name, role and name fragment.
        found = []
        for n in self.all_nodes():
            with contextlib.suppress(Exception):   # gone meanwhile
                if (n is not self.root and {"showing", "visible"} <= n.states and name in (None, n.name)
                        and role in (None, n.role) and (contains is None or contains in n.name)):
                    found.append(n)
        return found

    def find(self, name=None, role=None, contains=None, timeout=TIMEOUT):
        # The first showing element that matches, waiting up to timeout seconds.
        found = []
        wait(lambda: found.extend(self.find_all(name, role, contains)) or found, timeout,
             lambda: "no element name=%r role=%r contains=%r. Showing now:\n  %s"
             % (name, role, contains, "\n  ".join(repr(n) for n in self.find_all() if n.name)))
        return found[0]

    def wait_gone(self, name=None, role=None, contains=None, timeout=TIMEOUT):
        wait(lambda: not self.find_all(name, role, contains), timeout,
             lambda: "still showing: name=%r role=%r contains=%r" % (name, role, contains))

    def wait_until(self, predicate, describe, timeout=TIMEOUT):
        wait(predicate, timeout, lambda: "%s, not after %.1f s" % (describe(), timeout))

    def node(self, target, role=None):
        return target if isinstance(target, Node) else self.find(target, role)

    def window(self):
        return self.find(role="frame")

    def texts(self):
        # The texts of every showing label, in tree order.
        return [n.name for n in self.find_all() if n.role in TEXT_ROLES and n.name]

    def log(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def click(self, target, role=None, button=1):
        # Clicks the element's centre with the real pointer.
        node = self.node(target, role)
        x, y, w, h = node.extents
        if w <= 0 or h <= 0:
            raise UiError("%r has no area on screen" % node)
        move_pointer(x + w // 2, y + h // 2)
        time.sleep(0.05)
        xdotool("click", button)
        return node

    def key(self, *keys):
        # Presses keys by X name: 'Return', 'Escape', 'ctrl+a', 'Tab'.
        xdotool("key", "--clearmodifiers", *keys)

    def type_text(self, target, text, role=None):
        # Clicks into a field, replaces its text by typing and checks that it shows.
        node = self.node(target, role)
        self.click(node)
        self.wait_until(lambda: node.focused, lambda: "%r focused after the click" % node, 2.0)
        self.key("ctrl+a", "BackSpace")
        if text:
            xdotool("type", "--clearmodifiers", "--delay", 15, "--", text)
        if node.role != "password text":
            self.wait_until(lambda: node.text == text, lambda: "%r shows %r (has %r)" % (node, text, node.text), 2.0)
        return node

    def choose(self, combo, item):
        # Opens a ComboBox, clicks `item` and checks the shown text.
        node = self.click(combo, "combo box")
        self.click(self.find(item, "menu item"))
        self.wait_until(lambda: node.text == item, lambda: "%r shows %r (has %r)" % (node, item, node.text), 2.0)

    def menu(self, target, item, button=3):
        # Clicks the button `target` (right button by default), then the menu entry `item`.
        self.click(target, "push button", button=button)
        self.click(self.find(item, "menu item"))

    def drag(self, source, dest, steps=16):
        # Presses on `source`, moves onto `dest` in small steps and releases.
        (sx, sy, sw, sh), (dx, dy, dw, dh) = self.node(source).extents, self.node(dest).extents
        sx, sy, dx, dy = sx + sw // 3, sy + sh // 2, dx + dw // 2, dy + dh // 2
        move_pointer(sx, sy)
        xdotool("mousedown", 1)
        time.sleep(0.1)
        for i in range(1, steps + 1):
            move_pointer(sx + (dx - sx) * i // steps, sy + (dy - sy) * i // steps)
            time.sleep(0.04)
        time.sleep(0.3)
        xdotool("mouseup", 1)

    def screenshot(self, path, crop=None):
        # Saves the main window, or `crop` of the screen, as a PNG (ImageMagick `import`).
        x, y, w, h = crop or self.window().extents
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", path],
                       check=True, capture_output=True)
        return path

    def quit(self):
        # Stops the app with SIGTERM (SIGKILL after 5 s); returns its exit code.
        if self.proc.poll() is None:
            self.proc.terminate()
            with contextlib.suppress(subprocess.TimeoutExpired):
                self.proc.wait(5)
            self.proc.kill()  # a no-op once it has ended
        return self.proc.wait()


def launch(program, args=(), env=None, timeout=30.0):
    # Starts the app and waits until its window shows on the accessibility bus.
    desktop = _atspi().Registry.getDesktop(0)
    log_path = os.path.join(scratch_dir(), "app-%d.log" % int(time.time() * 1000))
    with open(log_path, "wb") as log:
        # The app must not outlive a journey that is killed outright (PR_SET_PDEATHSIG).
        proc = subprocess.Popen([program, *args], env={**os.environ, **(env or {})}, stdin=subprocess.DEVNULL,
                                stdout=log, stderr=subprocess.STDOUT,
                                preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGTERM))
    found = []

    def shown():
        found[:] = [a for a in desktop if a is not None and a.get_process_id() == proc.pid]
        return found and any({"showing", "visible"} <= Node(c).states and Node(c).extents[2] > 0 for c in found[0])

    app = App(proc, log_path, None)

    def took_focus(event):
        if event.detail1:
            app.focus = Node(event.source)
    _atspi().Registry.registerEventListener(took_focus, "object:state-changed:focused")
    with contextlib.suppress(UiError):   # a window, or the app's end
        wait(lambda: proc.poll() is not None or shown(), timeout, str)
    if proc.poll() is not None or not shown():
        why = ("exited with code %s" % proc.returncode if proc.poll() is not None
               else "showed no window in %gs" % timeout)
        proc.kill()
        raise UiError("%s %s: %s" % (program, why, app.log()[-2000:]))
    app.root = Node(found[0])
    return app


def scratch_dir():
    # The session's scratch folder (removed with the session unless --keep).
    return os.environ.get("E2E_SCRATCH") or os.getcwd()


# -- the app's files --------------------------------------------------------------

def iso(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def parse_date(text):
    return datetime.datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=datetime.timezone.utc)


NOW = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
DAY = datetime.timedelta(days=1)


def service(name, age=30 * DAY):
    return {"id": str(uuid.uuid4()).upper(), "name": name, "createdAt": iso(NOW - age), "isSystem": False}


def account(name, service_id=SYSTEM_ID, age=DAY, reset_in=None, **fields):
    # An account record; with reset_in, counting down (or restored when negative).
    record = {"id": str(uuid.uuid4()).upper(), "serviceId": service_id, "name": name, "note": "", "password": "",
              "createdAt": iso(NOW - age), "isArchived": False, "hasNoLimits": False, **fields}
    if reset_in is not None:
        record.update(resetAt=iso(NOW + reset_in), startedAt=iso(NOW + reset_in - 7 * DAY))
    return record


def event(record, kind, details, at):
    return {"id": str(uuid.uuid4()).upper(), "accountId": record["id"], "type": kind, "timestamp": iso(at),
            "details": details}


def state_path():
    return os.path.join(os.environ["XDG_DATA_HOME"], "org.tallyport.Tallyport", "accounts.json")


def write_state(services=(), accounts=(), events=(), text=None):
    # Writes the state file the app reads at launch: the system service, then these.
    os.makedirs(os.path.dirname(state_path()), exist_ok=True)
    system = {"id": SYSTEM_ID, "name": "Без сервиса", "createdAt": "1970-01-01T00:00:00Z", "isSystem": True}
    with open(state_path(), "w", encoding="utf-8") as f:
        f.write(text if text is not None else json.dumps(
            {"services": [system, *services], "accounts": list(accounts), "events": list(events)}, ensure_ascii=False))


def read_state():
    with open(state_path(), encoding="utf-8") as f:
        return json.load(f)


def stored(kind, name):
    # The saved record of that kind ("accounts", "services") and name, or {}.
    return next((r for r in read_state()[kind] if r["name"] == name), {})


def preferences_path():
    return os.path.join(os.environ["XDG_CONFIG_HOME"], "org.tallyport.Tallyport.conf")


def write_preferences(**values):
    with open(preferences_path(), "w", encoding="utf-8") as f:
        f.write('[General]\npreferences="%s"\n' % json.dumps(values).replace('"', '\\"'))


def read_preferences():
    # The stored preferences record, {} while there is none.
    try:
        with open(preferences_path(), encoding="utf-8") as f:
            found = re.search(r'^preferences="?(?:@ByteArray\()?(.*?)\)?"?$', f.read(), re.M)
    except FileNotFoundError:
        return {}
    return json.loads(found.group(1).replace('\\"', '"')) if found else {}


# -- journeys -------------------------------------------------------------------

class Journey:
    # Runs the steps of one journey and reports them:
    #
    # ok  <step>  [seconds]
    # FAIL  <step>
    # <why>
    # N passed, N failed
    #
    # A failed step does not stop the journey while the app runs; once it has
    # gone, the rest is skipped. Usage: journey.py PATH/TO/tallyport.
    # Screenshots go to $TALLYPORT_SCREENSHOTS when set, else to the scratch
    # folder; a failed step saves one of the window. Whatever any launch of
    # the app printed fails the journey's last step.

    def __init__(self):
        if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
            sys.exit("usage: %s PATH/TO/tallyport" % os.path.basename(sys.argv[0]))
        self.name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
        self.program = os.path.abspath(sys.argv[1])
        self.shots = os.environ.get("TALLYPORT_SCREENSHOTS") or scratch_dir()
        self.app = None
        self.apps = []
        self.passed = self.failed = 0

    def launch(self, env=None, args=()):
        # Starts the app (stopping the one from a previous launch).
        if self.app is not None:
            self.app.quit()
        self.app = launch(self.program, args, env)
        self.apps.append(self.app)
        return self.app

    def screenshot(self, label, crop=None):
        # The window, or `crop` (x, y, width, height) of the screen, as a PNG.
        os.makedirs(self.shots, exist_ok=True)
        return self.app.screenshot(os.path.join(self.shots, "%s-%s.png" % (self.name, label)), crop)

    @contextlib.contextmanager
    def step(self, title):
        started = time.monotonic()
        try:
            yield
        except Exception as e:
            self.failed += 1
            why = str(e) if isinstance(e, UiError) else traceback.format_exc(limit=-1).strip()
            print("FAIL  %s\n      %s" % (title, why.replace("\n", "\n      ")))
            if self.app is None or self.app.proc.poll() is not None:
                print("      the app is not running: the remaining steps are skipped")
                sys.exit(self.finish())
            with contextlib.suppress(Exception):
                print("      screenshot: %s" % self.screenshot("failure-%d" % self.failed))
        else:
            self.passed += 1
            print("ok  %s  [%.1f s]" % (title, time.monotonic() - started))
        sys.stdout.flush()

    def finish(self):
        # Stops the app, checks what it printed, prints the tally; returns the exit status.
        if self.app is not None:
            self.app.quit()
        # What the app printed: it writes no log of its own, so every line is
        # a warning (of QML, mostly), but for the desktop session's own noise.
        printed = [line for app in self.apps for line in app.log().splitlines()
                   if line.strip() and not QUIET.search(line)]
        if printed:
            self.failed += 1
            print("FAIL  the app printed nothing\n      %s" % "\n      ".join(printed[:20]))
        elif self.apps:
            self.passed += 1
            print("ok  the app printed nothing")
        print("%d passed, %d failed" % (self.passed, self.failed), flush=True)
        return 1 if self.failed or not self.passed else 0
