# The background journey, against a fake desktop (fake_desktop.py): with a
# status-notifier host, started in the background the app shows only its
# icon, whose tooltip names the nearest restore and whose menu (light and
# dark) counts what is available and lists the next restores; closing the
# window keeps the process, says so once, and the restore notification comes
# at the restore moment; clicking it opens the window on the account; Ctrl+Q
# quits. Without a host, closing quits.
import datetime
import json
import os
import re
import subprocess
import threading
import time

import tallyport_ui
from tallyport_ui import DAY, Journey, account, scratch_dir, wait, write_preferences, write_state

FAKE_DESKTOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_desktop.py")
LOG = os.path.join(scratch_dir(), "desktop.jsonl")
NOTICE = "Tallyport продолжает работать в фоне"
j = Journey()
desktop = None


def start_desktop(status_area):
    global desktop
    if desktop is not None:
        desktop.terminate()
        desktop.wait()
    open(LOG, "w").close()
    desktop = subprocess.Popen(["/usr/bin/python3", FAKE_DESKTOP, LOG] + (["--status-area"] if status_area else []),
                               stdout=subprocess.PIPE, text=True)
    assert desktop.stdout.readline().strip() == "ready"


def records(key):
    with open(LOG, encoding="utf-8") as f:
        return [r for r in map(json.loads, f) if key in r]


def notifications(summary):
    return [r for r in records("summary") if r["summary"] == summary]


def item():
    wait(lambda: records("item"), 10, lambda: "no status-notifier item registered")
    return records("item")[-1]["item"]


def call(dest, path, method, *args):
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=" + dest, path, method, *args],
                          check=True, capture_output=True, text=True).stdout


def icon(method):
    call(item(), "/StatusNotifierItem", "org.kde.StatusNotifierItem." + method, "int32:10", "int32:10")


def seed(restore_in_seconds):
    # Work's limit comes back that many seconds from now; Home's in three days.
    ahead = datetime.datetime.now(datetime.timezone.utc) - tallyport_ui.NOW
    work = account("Work", reset_in=ahead + datetime.timedelta(seconds=restore_in_seconds))
    write_state(accounts=[work, account("Home", reset_in=3 * DAY), account("Idle")])
    return tallyport_ui.parse_date(work["resetAt"])


def check_menu(label):
    # The host asks for the menu (ContextMenu), which opens under the pointer,
    # and reads its entries over com.canonical.dbusmenu.
    icon("ContextMenu")
    time.sleep(0.5)
    layout = call(item(), "/MenuBar", "com.canonical.dbusmenu.GetLayout", "int32:0", "int32:-1",
                  "array:string:label")
    labels = re.findall(r'string "label"\s+variant\s+string "([^"]*)"', layout)
    restores = [text.split(" — ")[0] for text in labels if " — " in text]
    assert "Доступно сейчас: 1" in labels and restores == ["Work", "Home"], labels
    where = dict(kv.split("=") for kv in tallyport_ui.xdotool("getmouselocation", "--shell").split())
    j.screenshot(label, (int(where["X"]) - 20, int(where["Y"]) - 20, 300, 150))
    app.key("Escape")


with j.step("[dark] started in the background, only the icon shows; its tooltip and menu tell the restores"):
    start_desktop(status_area=True)
    seed(3600)
    write_preferences(appearanceMode="dark", notificationsOnRestore=True)
    threading.Thread(target=lambda: icon("Activate"), daemon=True).start()   # the icon brings the window
    app = j.launch(args=["--background"])
    tip = call(item(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
               "string:org.kde.StatusNotifierItem", "string:ToolTip")
    assert "Ближайшее восстановление: " in tip, tip
    check_menu("menu-dark")

with j.step("[light] closing hides the window, says so once, and the restore is notified at its moment"):
    restore_at = seed(10)
    write_preferences(appearanceMode="light", notificationsOnRestore=True)
    open(LOG, "w").close()   # item() must wait for the new app's icon, not take the old one's
    app = j.launch()
    check_menu("menu-light")
    app.click("История")  # away from the accounts: the notification brings them back
    app.key("ctrl+w")
    app.wait_gone(role="frame")
    wait(lambda: notifications(NOTICE), 5, lambda: "no notice about running in the background")
    wait(lambda: notifications("Лимит восстановлен"), 40, lambda: "no restore notification")
    assert datetime.datetime.now(datetime.timezone.utc) >= restore_at - datetime.timedelta(seconds=1)
    assert app.proc.poll() is None

with j.step("clicking the notification opens the window on the account; closing again is silent; Ctrl+Q quits"):
    call("org.freedesktop.Notifications", "/org/freedesktop/Notifications", "org.tallyport.Test.InvokeAction",
         "uint32:%d" % notifications("Лимит восстановлен")[0]["id"], "string:default")
    app.find("Аккаунт Work")
    app.key("ctrl+w")
    app.wait_gone(role="frame")
    icon("Activate")
    app.click("Tallyport", "label")
    assert len(notifications(NOTICE)) == 1, records("summary")
    app.key("ctrl+q")
    assert app.proc.wait(10) == 0

with j.step("without a status-area host, closing the window quits, with no notice"):
    start_desktop(status_area=False)
    app = j.launch()
    app.click("Tallyport", "label")  # the window takes the keyboard
    app.key("ctrl+w")
    assert app.proc.wait(10) == 0 and not notifications(NOTICE), records("summary")

desktop.terminate()
raise SystemExit(j.finish())
