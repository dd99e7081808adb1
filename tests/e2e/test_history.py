"""The history page, end to end: the log's rows newest first, an event of a
deleted account, the search narrowing the rows, and a log of 100,000 events
that opens and filters.

tests/e2e/session -- /usr/bin/python3 tests/e2e/test_history.py build/src/tallyport
"""
import datetime
import json
import os
import sys
import time
import uuid

from tallyport_ui import Scenario

SYSTEM_ID = "00000000-0000-0000-0000-000000000001"
EPOCH = datetime.datetime(2026, 3, 2, 21, 30, tzinfo=datetime.timezone.utc)


def iso(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def write_state(accounts, events):
    folder = os.path.join(os.environ["XDG_DATA_HOME"], "org.tallyport.Tallyport")
    os.makedirs(folder, exist_ok=True)
    state = {
        "services": [{"createdAt": "1970-01-01T00:00:00Z", "id": SYSTEM_ID, "isSystem": True,
                      "name": "Без сервиса"}],
        "accounts": accounts,
        "events": events,
    }
    with open(os.path.join(folder, "accounts.json"), "w", encoding="utf-8") as f:
        json.dump(state, f, ensure_ascii=False)


def account(name):
    return {"createdAt": iso(EPOCH), "hasNoLimits": False, "id": str(uuid.uuid4()).upper(),
            "isArchived": False, "name": name, "note": "", "password": "", "serviceId": SYSTEM_ID}


def event(account_id, kind, details, minutes):
    return {"accountId": account_id, "details": details, "id": str(uuid.uuid4()).upper(),
            "timestamp": iso(EPOCH + datetime.timedelta(minutes=minutes)), "type": kind}


def shown_details(app, candidates):
    """The candidate texts that show as labels, in the order they appear."""
    texts = app.texts()
    return [t for t in texts if t in candidates]


s = Scenario()

work, personal = account("work@example.com"), account("Личный")
gone = str(uuid.uuid4()).upper()
EVENTS = {
    "Создан аккаунт work@example.com": event(work["id"], "created", "Создан аккаунт work@example.com", 0),
    "Создан аккаунт Личный": event(personal["id"], "created", "Создан аккаунт Личный", 1),
    "Запущен недельный отсчет": event(work["id"], "used", "Запущен недельный отсчет", 2),
    "Удален аккаунт Старый": event(gone, "deleted", "Удален аккаунт Старый", 3),
}
write_state([work, personal], list(EVENTS.values()))

with s.step("the history lists the events newest first"):
    app = s.launch()
    app.click("История", role="push button")
    app.wait_for("Удален аккаунт Старый", role="label")
    order = shown_details(app, EVENTS)
    assert order == list(reversed(list(EVENTS))), order
    s.screenshot("history")

with s.step('an event of a deleted account is headed "Неизвестный аккаунт"'):
    app.wait_for("Неизвестный аккаунт", role="label")

with s.step("the search narrows the rows to the matching account"):
    search = app.find("Поиск", role="text")
    app.type_text(search, "личн")
    app.wait_gone("Запущен недельный отсчет", role="label")
    app.wait_until(lambda: shown_details(app, EVENTS) == ["Создан аккаунт Личный"],
                   lambda: "only the event of Личный (%r)" % shown_details(app, EVENTS))
    s.screenshot("history-search")

with s.step("a search that matches nothing leaves no rows; clearing it brings them back"):
    app.type_text(search, "нет такого")
    app.wait_until(lambda: shown_details(app, EVENTS) == [], lambda: "no rows (%r)" % shown_details(app, EVENTS))
    app.type_text(search, "")
    app.wait_until(lambda: len(shown_details(app, EVENTS)) == 4, lambda: "all rows again")

with s.step("leaving the page empties the search"):
    app.type_text(search, "work")
    app.click("Все аккаунты", role="push button")
    app.click("История", role="push button")
    app.wait_until(lambda: len(shown_details(app, EVENTS)) == 4, lambda: "all rows after coming back")
    app.quit()

# A long log: a hundred thousand events of a thousand accounts. The page must
# open with the newest rows and filter without stalling.
COUNT = 100000
accounts = [account("Аккаунт %04d" % i) for i in range(1000)]
events = [event(accounts[i % 1000]["id"], "used", "Запущен недельный отсчет", i) for i in range(COUNT)]
write_state(accounts, events)


def headlines(app):
    return [t for t in app.texts() if t.startswith("Аккаунт ")]


with s.step("a log of %d events opens with its newest rows" % COUNT):
    app = s.launch()
    app.click("История", role="push button")
    app.wait_for("Аккаунт 0999", role="label", timeout=20)
    rows = headlines(app)
    assert rows[:3] == ["Аккаунт 0999", "Аккаунт 0998", "Аккаунт 0997"], rows[:3]
    assert len(rows) < 100, "%d rows made for one screen" % len(rows)

with s.step("the long log filters to one account"):
    started = time.monotonic()
    app.type_text(app.find("Поиск", role="text"), "Аккаунт 0042")
    app.wait_until(lambda: headlines(app) and set(headlines(app)) == {"Аккаунт 0042"},
                   lambda: "only the events of Аккаунт 0042 (%r)" % headlines(app)[:5], timeout=20)
    print("      filtered in %.1f s" % (time.monotonic() - started))
    s.screenshot("history-long")

sys.exit(s.finish())
