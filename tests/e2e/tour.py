"""A tour of the window on a small demo state, for the documentation: every
destination and sheet, photographed in the appearance given on the command
line. Not a test; `make screenshots` runs it in light and dark.

tests/e2e/session -- /usr/bin/python3 tests/e2e/tour.py build/src/tallyport light OUT_DIR
"""
import datetime
import json
import os
import sys
import time
import uuid

import tallyport_ui as ui

SYSTEM_ID = "00000000-0000-0000-0000-000000000001"


def iso(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


def demo_state(now):
    """Three services, accounts in every state, an archived one, some history."""
    services = [{"id": SYSTEM_ID, "name": "Без сервиса", "createdAt": "1970-01-01T00:00:00Z", "isSystem": True}]
    ids = {}
    for days, name in ((90, "ChatGPT"), (60, "Claude"), (30, "Gemini")):
        ids[name] = str(uuid.uuid4()).upper()
        services.append({"id": ids[name], "name": name, "createdAt": iso(now - datetime.timedelta(days=days)),
                         "isSystem": False})
    week = datetime.timedelta(days=7)

    def account(name, service, note, created_days, reset_in=None, no_limits=False, archived=False, password="s3cret"):
        entry = {"id": str(uuid.uuid4()).upper(), "serviceId": ids.get(service, SYSTEM_ID), "name": name,
                 "note": note, "password": password, "createdAt": iso(now - datetime.timedelta(days=created_days)),
                 "isArchived": archived, "hasNoLimits": no_limits}
        if reset_in is not None:
            reset = now + reset_in
            entry["resetAt"] = iso(reset)
            entry["startedAt"] = iso(reset - week)
        if archived:
            entry["archivedAt"] = iso(now - datetime.timedelta(days=3))
        return entry

    accounts = [
        account("work@example.com", "ChatGPT", "Plus, лимит 40 сообщений", 80,
                datetime.timedelta(days=2, hours=5, minutes=12, seconds=40)),
        account("Личный", "Claude", "Pro, вход через Google", 50, datetime.timedelta(hours=-6)),
        account("team@studio.ru", "Claude", "Команда дизайна", 40, datetime.timedelta(days=6, hours=20)),
        account("research", "Gemini", "Длинные документы", 20, no_limits=True),
        account("backup@gmail.com", "ChatGPT", "", 10, password=""),
        account("старый аккаунт", None, "в архиве", 120, datetime.timedelta(days=-20), archived=True),
    ]
    events = []
    for index, entry in enumerate(accounts):
        created = entry["createdAt"]
        events.append({"id": str(uuid.uuid4()).upper(), "accountId": entry["id"], "type": "created",
                       "timestamp": created, "details": "Создан аккаунт " + entry["name"]})
        if "startedAt" in entry:
            events.append({"id": str(uuid.uuid4()).upper(), "accountId": entry["id"], "type": "used",
                           "timestamp": entry["startedAt"], "details": "Запущен недельный отсчет"})
        if index == 0:
            events.append({"id": str(uuid.uuid4()).upper(), "accountId": entry["id"], "type": "edited",
                           "timestamp": iso(now - datetime.timedelta(hours=2)),
                           "details": "Пароль скопирован в буфер обмена"})
    events.sort(key=lambda event: event["timestamp"])
    return {"services": services, "accounts": accounts, "events": events}


def seed(mode):
    now = datetime.datetime.utcnow().replace(microsecond=0)
    folder = os.path.join(os.environ["XDG_DATA_HOME"], "org.tallyport.Tallyport")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "accounts.json"), "w", encoding="utf-8") as f:
        json.dump(demo_state(now), f, ensure_ascii=False, indent=2)
    config = os.path.join(os.environ["XDG_CONFIG_HOME"], "org.tallyport.Tallyport.conf")
    with open(config, "w", encoding="utf-8") as f:
        f.write('[General]\npreferences="{\\"appearanceMode\\":\\"%s\\"}"\n' % mode)


def main(argv):
    program, mode, out = argv[1], argv[2], argv[3]
    os.makedirs(out, exist_ok=True)
    seed(mode)
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    env = {"TALLYPORT_ABOUT_DATA": os.path.join(root, "tests", "data", "about", "fake-wallets.json")}
    app = ui.launch(program, env=env)
    failures = []

    def shot(name, *actions):
        try:
            for action in actions:
                action()
            time.sleep(0.6)  # let animations settle
            app.screenshot(os.path.join(out, "%s-%s.png" % (name, mode)))
            print("ok   %s" % name)
        except ui.UiError as error:
            failures.append(name)
            print("FAIL %s: %s" % (name, str(error).splitlines()[0]))

    section = lambda title: (lambda: app.click(title, role="push button"))
    escape = lambda: app.key("Escape")

    app.wait_for("Обзор системы", role="label", timeout=15)
    shot("01-all-accounts")
    shot("02-service", section("Claude"))
    shot("03-archive", section("Архив"))
    shot("04-account-editor", section("Все аккаунты"), lambda: app.click("Добавить аккаунт", role="push button"),
         lambda: app.wait_for("Добавить аккаунт", role="dialog"))
    escape()
    shot("05-history", section("История"))
    shot("06-help", section("Помощь"))
    shot("07-preferences-general", section("Все аккаунты"), lambda: app.click("Настройки", role="push button"),
         lambda: app.wait_for("Настройки", role="dialog"))
    shot("08-preferences-notifications", lambda: app.click("Уведомления"))
    escape()
    shot("09-about", section("О программе"))
    shot("10-changelog", lambda: app.click("Открыть историю изменений"),
         lambda: app.wait_for("История изменений", role="dialog"))
    escape()
    shot("11-wallet-qr", lambda: app.click(app.find_all(contains="Показать QR-код ")[0]))
    escape()
    app.quit()
    print("%d passed, %d failed" % (11 - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
