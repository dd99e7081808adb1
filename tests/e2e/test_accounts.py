"""Account rows against the real store: start a countdown, archive and restore
through the row menu, drag an account onto a service, delete with confirmation,
each checked in the window and in the state file on disk.

tests/e2e/session -- /usr/bin/python3 tests/e2e/test_accounts.py build/src/tallyport
"""
import datetime
import json
import os
import re
import sys
import time

import tallyport_ui
from tallyport_ui import Scenario

SYSTEM_ID = "00000000-0000-0000-0000-000000000001"
OPENAI_ID = "0A0A0A0A-0000-4000-8000-000000000001"
CLAUDE_ID = "0A0A0A0A-0000-4000-8000-000000000002"
# A name that would be markup if it were drawn as rich text.
MARKUP = "Dunst & <b>Co</b>"
IDS = {name: "0B0B0B0B-0000-4000-8000-00000000000%d" % i
       for i, name in enumerate(["Alpha", "Beta", "Gamma", "Delta", MARKUP], start=1)}
COUNTDOWN = re.compile(r"^\d+д \d+ч")


def iso(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def state_path():
    return os.path.join(os.environ["XDG_DATA_HOME"], "org.tallyport.Tallyport", "accounts.json")


def seed():
    now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)

    def account(name, service_id, age_hours, reset_in=None):
        record = {"id": IDS[name], "serviceId": service_id, "name": name, "note": "", "password": "pw-" + name,
                  "createdAt": iso(now - datetime.timedelta(hours=age_hours)), "isArchived": False,
                  "hasNoLimits": False}
        if reset_in is not None:
            record["resetAt"] = iso(now + reset_in)
            record["startedAt"] = iso(now + reset_in - datetime.timedelta(days=7))
        return record

    state = {
        "services": [
            {"id": SYSTEM_ID, "name": "Без сервиса", "createdAt": "1970-01-01T00:00:00Z", "isSystem": True},
            {"id": OPENAI_ID, "name": "OpenAI", "createdAt": iso(now - datetime.timedelta(days=9)), "isSystem": False},
            {"id": CLAUDE_ID, "name": "Claude", "createdAt": iso(now - datetime.timedelta(days=8)), "isSystem": False},
        ],
        "accounts": [
            account("Alpha", OPENAI_ID, 1),
            account("Beta", SYSTEM_ID, 2),
            account("Gamma", CLAUDE_ID, 3, reset_in=-datetime.timedelta(hours=2)),
            account("Delta", OPENAI_ID, 4, reset_in=datetime.timedelta(days=2)),
            account(MARKUP, CLAUDE_ID, 5, reset_in=-datetime.timedelta(hours=1)),
        ],
        "events": [],
    }
    os.makedirs(os.path.dirname(state_path()), exist_ok=True)
    with open(state_path(), "w", encoding="utf-8") as f:
        json.dump(state, f, ensure_ascii=False, indent=2)


def stored_account(name):
    """The account as saved on disk, or None when it is not there."""
    with open(state_path(), encoding="utf-8") as f:
        accounts = json.load(f)["accounts"]
    return next((a for a in accounts if a["id"] == IDS[name]), None)


def row(app, name):
    """The account's row, scrolled fully into view (from the top of the list down)."""
    listing = app.wait_for("Аккаунты", role="list")
    lx, ly, lw, lh = listing.extents
    tallyport_ui._move_pointer(lx + lw // 2, ly + lh // 2)
    tallyport_ui._xdotool("click", "--repeat", 40, "--delay", 10, 4)
    for _ in range(60):
        found = app.find_all("Аккаунт " + name, role="list item")
        if found:
            _, y, _, h = found[0].extents
            if ly <= y and y + h <= ly + lh:
                return found[0]
        tallyport_ui._xdotool("click", 5)
        time.sleep(0.05)
    raise tallyport_ui.UiError("no row for %s in the list after scrolling it. Showing now:\n  %s"
                               % (name, "\n  ".join(app.names())))


def row_texts(node):
    return [n.name for n in node.walk() if n.role in tallyport_ui.TEXT_ROLES and n.name]


def choose_from_menu(app, name, item):
    row(app, name)
    app.click("Действия для " + name, role="push button")
    app.click(app.wait_for(item, role="menu item"))
    app.wait_gone(item, role="menu item")


def drag(app, source, target):
    """Presses on source, moves onto target in small steps, releases."""
    sx, sy, sw, sh = source.extents
    tx, ty, tw, th = target.extents
    start = (sx + sw // 3, sy + sh // 2)
    end = (tx + tw // 2, ty + th // 2)
    tallyport_ui._move_pointer(*start)
    tallyport_ui._xdotool("mousedown", 1)
    time.sleep(0.1)
    steps = 16
    for i in range(1, steps + 1):
        tallyport_ui._move_pointer(start[0] + (end[0] - start[0]) * i // steps,
                                   start[1] + (end[1] - start[1]) * i // steps)
        time.sleep(0.04)
    time.sleep(0.3)
    tallyport_ui._xdotool("mouseup", 1)


s = Scenario()

with s.step("seeded accounts are listed with their status controls"):
    seed()
    app = s.launch()
    for name, control in (("Alpha", "Использовать аккаунт Alpha"), ("Beta", "Использовать аккаунт Beta"),
                          ("Gamma", "Использовать аккаунт Gamma снова")):
        row(app, name)
        app.wait_for(control, role="push button")
    assert any(COUNTDOWN.match(t) for t in row_texts(row(app, "Delta"))), row_texts(row(app, "Delta"))

with s.step("a name with markup characters is shown as typed, in its row and its service's card"):
    assert MARKUP in row_texts(row(app, MARKUP)), row_texts(row(app, MARKUP))
    app.wait_until(lambda: any(MARKUP in text for text in app.texts()), lambda: "the name in the Claude card")

with s.step('"Использовать" starts a seven-day countdown on the row and on disk'):
    row(app, "Alpha")
    app.click("Использовать аккаунт Alpha", role="push button")
    app.wait_gone("Использовать аккаунт Alpha", role="push button")
    app.wait_until(lambda: any(COUNTDOWN.match(t) for t in row_texts(row(app, "Alpha"))),
                   lambda: "a countdown in Alpha's row, has %r" % row_texts(row(app, "Alpha")))
    assert "Активен" in row_texts(row(app, "Alpha"))
    app.wait_until(lambda: "resetAt" in stored_account("Alpha"), lambda: "Alpha saved with a reset moment")
    reset_at = datetime.datetime.strptime(stored_account("Alpha")["resetAt"], "%Y-%m-%dT%H:%M:%SZ")
    left = reset_at.replace(tzinfo=datetime.timezone.utc) - datetime.datetime.now(datetime.timezone.utc)
    assert datetime.timedelta(days=6, hours=23) < left <= datetime.timedelta(days=7), left

with s.step('"Архивировать" from the row menu moves the account to "Архив"'):
    choose_from_menu(app, "Alpha", "Архивировать")
    app.wait_gone("Аккаунт Alpha", role="list item")
    app.wait_until(lambda: stored_account("Alpha")["isArchived"], lambda: "Alpha saved as archived")
    app.click("Архив", role="push button")
    archived = row(app, "Alpha")
    assert "В архиве" in row_texts(archived), row_texts(archived)
    app.wait_for("Удалить навсегда аккаунт Alpha", role="push button")
    assert not app.find_all("Скопировать пароль Alpha"), "the archive row offers no copy button"

with s.step('"Восстановить" brings it back and empties the archive'):
    app.click("Восстановить аккаунт Alpha", role="push button")
    app.wait_for("Архив пуст", role="label")
    app.wait_until(lambda: not stored_account("Alpha")["isArchived"], lambda: "Alpha saved as not archived")
    app.click("Все аккаунты", role="push button")
    row(app, "Alpha")

with s.step("dragging a row onto a service in the sidebar moves the account there"):
    # From its own service's page, so the drop takes the row out of the list under the drag.
    app.click("Без сервиса", role="push button")
    drag(app, row(app, "Beta"), app.wait_for("OpenAI", role="push button"))
    app.wait_gone("Аккаунт Beta", role="list item")
    app.wait_for("В сервисе пока нет аккаунтов", role="label")
    app.wait_until(lambda: stored_account("Beta")["serviceId"] == OPENAI_ID,
                   lambda: "Beta saved in OpenAI, has %s" % stored_account("Beta")["serviceId"])
    app.click("OpenAI", role="push button")
    row(app, "Beta")
    app.wait_for("Использовать аккаунт Beta", role="push button")
    app.wait_for("Заряжаются: 2", role="label")

with s.step('"Удалить" asks first; confirming removes the account from the list and the file'):
    choose_from_menu(app, "Beta", "Удалить")
    app.wait_for("Удалить аккаунт?", role="dialog")
    assert stored_account("Beta") is not None, "deleted before the confirmation"
    app.click("Удалить", role="push button")
    app.wait_gone("Удалить аккаунт?", role="dialog")
    app.wait_gone("Аккаунт Beta", role="list item")
    app.wait_until(lambda: stored_account("Beta") is None, lambda: "Beta gone from the state file")
    s.screenshot("after-delete")

with s.step("no QML warnings"):
    problems = [line for line in app.log().splitlines() if "qrc:/Tallyport/components/" in line
                or "qrc:/Tallyport/main/Accounts" in line]
    assert not problems, "\n".join(problems)

sys.exit(s.finish())
