"""The window's frame, end to end: the sidebar's sections and services, the
toolbar per destination, the search cleared by a change of destination, the
services' context menus and the service-deletion alert, the keyboard, the
error alert, and a stored dark appearance from the first frame.

tests/e2e/session -- /usr/bin/python3 tests/e2e/test_window.py build/src/tallyport
"""
import json
import os
import subprocess
import sys

from tallyport_ui import Scenario

SYSTEM_ID = "00000000-0000-0000-0000-000000000001"
CHATGPT_ID = "5B8E2C1A-7D3F-4A9B-8C2E-1F0A3B4C5D6E"
CLAUDE_ID = "9C4D7E2F-1A3B-4C5D-8E6F-7A8B9C0D1E2F"
SECTIONS = ["Все аккаунты", "Активные лимиты", "История", "Помощь", "Архив", "О программе"]


def data_dir():
    return os.path.join(os.environ["XDG_DATA_HOME"], "org.tallyport.Tallyport")


def state_file():
    return os.path.join(data_dir(), "accounts.json")


def write_state(text):
    os.makedirs(data_dir(), exist_ok=True)
    with open(state_file(), "w", encoding="utf-8") as f:
        f.write(text)


def seed_state():
    write_state(json.dumps({
        "services": [
            {"id": SYSTEM_ID, "name": "Без сервиса", "createdAt": "1970-01-01T00:00:00Z", "isSystem": True},
            {"id": CHATGPT_ID, "name": "ChatGPT", "createdAt": "2025-11-01T09:00:00Z", "isSystem": False},
            {"id": CLAUDE_ID, "name": "Claude", "createdAt": "2025-12-15T18:30:00Z", "isSystem": False},
        ],
        "accounts": [
            {"id": "1A2B3C4D-5E6F-4A1B-9C2D-3E4F5A6B7C8D", "name": "work@example.com", "note": "",
             "password": "", "createdAt": "2025-11-02T10:00:00Z", "isArchived": False, "hasNoLimits": False,
             "serviceId": CLAUDE_ID},
        ],
        "events": [],
    }, ensure_ascii=False, indent=2))


def store_appearance(mode):
    path = os.path.join(os.environ["XDG_CONFIG_HOME"], "org.tallyport.Tallyport.conf")
    with open(path, "w", encoding="utf-8") as f:
        f.write('[General]\npreferences="{\\"appearanceMode\\":\\"%s\\"}"\n' % mode)


def service_names():
    with open(state_file(), encoding="utf-8") as f:
        return [service["name"] for service in json.load(f)["services"]]


def pixel(png, x, y):
    """The (r, g, b) of one pixel of a screenshot."""
    text = subprocess.run(["convert", png, "-crop", "1x1+%d+%d" % (x, y), "-format",
                           "%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]", "info:"],
                          capture_output=True, text=True, check=True).stdout
    return tuple(int(v) for v in text.split(","))


def search_prompt(app):
    # Qt gives a text field's placeholder as its accessible description.
    return app.find("Поиск", role="text", timeout=5).acc.description


s = Scenario()
seed_state()

with s.step("window appears with the name, the version and every section"):
    app = s.launch()
    app.wait_for("Tallyport", role="label")
    app.wait_for("1.14", role="label")
    app.wait_for("Сервисы", role="label")
    for title in SECTIONS:
        app.wait_for(title, role="push button")

with s.step("sidebar lists the services, system service first"):
    rows = [app.wait_for(name, role="push button") for name in ("Без сервиса", "ChatGPT", "Claude")]
    tops = [row.extents[1] for row in rows]
    assert tops == sorted(tops), "rows at %s" % tops
    app.wait_for("Создать сервис", role="push button")

with s.step("toolbar in all accounts: search, refresh, settings, add"):
    app.wait_for("Поиск", role="text")
    app.wait_for("Обновить", role="push button")
    app.wait_for("Настройки", role="push button")
    app.wait_for("Добавить аккаунт", role="push button")
    assert search_prompt(app) == "Поиск аккаунтов...", search_prompt(app)

with s.step("choosing another section empties the search"):
    app.type_text("Поиск", "work")
    app.click("Активные лимиты", role="push button")
    field = app.find("Поиск", role="text", timeout=5)
    app.wait_until(lambda: field.text == "", lambda: "an empty search, not %r" % field.text)

with s.step("archive: search, but no add button"):
    app.click("Архив", role="push button")
    app.wait_gone("Добавить аккаунт", role="push button")
    app.wait_for("Поиск", role="text")
    assert search_prompt(app) == "Поиск аккаунтов...", search_prompt(app)

with s.step("history: the history prompt, no add button"):
    app.click("История", role="push button")
    app.wait_until(lambda: search_prompt(app) == "Поиск по истории...",
                   lambda: "the history prompt, not %r" % search_prompt(app))
    app.wait_gone("Добавить аккаунт", role="push button")

with s.step("help and about: no search field"):
    for title in ("Помощь", "О программе"):
        app.click(title, role="push button")
        app.wait_gone("Поиск", role="text")
        app.wait_gone("Добавить аккаунт", role="push button")

with s.step("a service: search and add button"):
    app.click("ChatGPT", role="push button")
    app.wait_for("Добавить аккаунт", role="push button")
    app.wait_until(lambda: search_prompt(app) == "Поиск аккаунтов...", lambda: "the accounts prompt")
    s.screenshot("service")

with s.step("the system service has no context menu"):
    app.click("Без сервиса", role="push button", button=3)
    app.click("ChatGPT", role="push button", button=3)
    app.wait_for("Переименовать", role="menu item")
    app.key("Escape")
    app.wait_gone("Переименовать", role="menu item")
    # The right click on the system service opened nothing before this one.
    app.click("Без сервиса", role="push button", button=3)
    app.wait_gone("Переименовать", role="menu item", timeout=1.0)
    app.wait_gone("Удалить", role="menu item", timeout=0.5)

with s.step("cancelling the deletion of a service keeps it"):
    app.click("Claude", role="push button", button=3)
    app.click("Удалить", role="menu item")
    app.wait_for("Удалить сервис?", role="dialog")
    app.wait_for("Аккаунты из сервиса будут автоматически перенесены в «Без сервиса».", role="label")
    app.wait_for("Удалить сервис", role="push button")
    app.key("Escape")
    app.wait_gone("Удалить сервис?", role="dialog")
    app.wait_for("Claude", role="push button")
    assert "Claude" in service_names(), service_names()

with s.step("deleting a service removes its row and its record"):
    app.click("Claude", role="push button", button=3)
    app.click("Удалить", role="menu item")
    app.wait_for("Удалить сервис?", role="dialog")
    app.click("Удалить сервис", role="push button")
    app.wait_gone("Удалить сервис?", role="dialog")
    app.wait_gone("Claude", role="push button")
    app.wait_until(lambda: service_names() == ["Без сервиса", "ChatGPT"], lambda: "services %s" % service_names())

with s.step("keyboard: Ctrl+F focuses the search, Tab and Space choose a section"):
    app.click("Все аккаунты", role="push button")
    app.key("ctrl+f")
    field = app.find("Поиск", role="text", timeout=5)
    app.wait_until(lambda: field.focused, lambda: "the search focused")
    app.click("Активные лимиты", role="push button")
    active = app.find("Активные лимиты", role="push button")
    app.wait_until(lambda: active.focused, lambda: "the clicked row focused")
    app.key("Tab", "space")
    app.wait_until(lambda: search_prompt(app) == "Поиск по истории...", lambda: "history chosen by Tab, Space")

with s.step("Ctrl+N opens the account editor where there is an add button"):
    app.click("Все аккаунты", role="push button")
    app.key("ctrl+n")
    app.wait_for("Добавить аккаунт", role="dialog")
    app.key("Escape")
    app.wait_gone("Добавить аккаунт", role="dialog")

with s.step("an unreadable state file shows the error alert; Escape clears it"):
    app.quit()
    write_state("{ not json")
    app = s.launch()
    app.wait_for("Ошибка", role="dialog", timeout=10)
    app.wait_for("ОК", role="push button")
    assert any(t.startswith("Не удалось загрузить данные: ") for t in app.texts()), app.texts()
    app.key("Escape")
    app.wait_gone("Ошибка", role="dialog")
    app.wait_gone("Ошибка", role="dialog", timeout=1.0)

with s.step("a stored dark appearance shows from the start"):
    app.quit()
    seed_state()
    store_appearance("dark")
    app = s.launch()
    app.wait_for("Tallyport", role="label")
    shot = s.screenshot("dark")
    sidebar = app.find("О программе", role="push button")
    x, y, w, h = sidebar.extents
    window_x, window_y, _, _ = app.window().extents
    # Below the last row: the sidebar's own colour, surfaceContainerLow.
    colour = pixel(shot, x - window_x + w // 2, y - window_y + h + 8)
    assert all(abs(a - b) <= 3 for a, b in zip(colour, (22, 26, 34))), "sidebar colour %s" % (colour,)

sys.exit(s.finish())
