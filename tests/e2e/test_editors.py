"""The account and service editors, end to end: add an account with a note and
a password, create a service from the account form, hit a duplicate service
name, set and clear a manual restore moment, rename a service from the sidebar
and create one from the sidebar's "+", checking the state file each time.

tests/e2e/session -- /usr/bin/python3 tests/e2e/test_editors.py build/src/tallyport
"""
import datetime
import glob
import json
import os
import sys

from tallyport_ui import Scenario, UiError

SYSTEM_ID = "00000000-0000-0000-0000-000000000001"
ACCOUNT = "Основной ключ"
NOTE = "Лимит 40 сообщений"
PASSWORD = "пароль-123"
WEEK = datetime.timedelta(days=7)


def state_path():
    found = glob.glob(os.path.join(os.environ["XDG_DATA_HOME"], "*", "accounts.json"))
    return found[0] if found else None


def state():
    path = state_path()
    if path is None:
        return {}
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def parse_date(text):
    return datetime.datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(tzinfo=datetime.timezone.utc)


def service_named(name):
    return next((s for s in state().get("services", []) if s["name"] == name), None)


def account_named(name):
    return next((a for a in state().get("accounts", []) if a["name"] == name), None)


def wait_for_state(app, predicate, what):
    last = {}

    def check():
        last["state"] = state()
        return predicate(last["state"])

    app.wait_until(check, lambda: "state file: %s (it holds %s)" % (what, json.dumps(last.get("state"),
                                                                                      ensure_ascii=False)))


def open_account_editor(app):
    try:
        app.click("Добавить аккаунт", role="push button")
    except UiError:
        app.click("Добавить первый аккаунт", role="push button")
    return app.wait_for("Добавить аккаунт", role="dialog")


s = Scenario()

with s.step("window appears"):
    app = s.launch()

# Qt 6.4 does not report a disabled button as such over AT-SPI, so a disabled
# "Сохранить" shows in what pressing it does: nothing.
def save_does_nothing(app, sheet_title, save_name):
    app.key("Return")
    app.click(save_name, role="push button")
    app.wait_for(sheet_title, role="dialog", timeout=1.0)
    assert not state().get("accounts"), state()


with s.step('the toolbar opens "Добавить аккаунт" on the system service, name focused'):
    open_account_editor(app)
    name_field = app.wait_for("Название аккаунта", role="text")
    app.wait_until(lambda: name_field.focused, lambda: "the name field has the focus")
    assert app.find("Выбор сервиса").text == "Без сервиса", "picker shows %r" % app.find("Выбор сервиса").text

with s.step("an empty or blank name: Return and the save button do nothing"):
    save_does_nothing(app, "Добавить аккаунт", "Сохранить аккаунт")
    app.type_text("Название аккаунта", "   ")
    save_does_nothing(app, "Добавить аккаунт", "Сохранить аккаунт")

with s.step("a service created from the form is picked and its field empties"):
    app.type_text("Название нового сервиса", "  Gemini ")
    app.click("Создать сервис из формы аккаунта", role="push button")
    app.wait_until(lambda: app.find("Название нового сервиса").text == "",
                   lambda: "the new service field is emptied")
    app.wait_until(lambda: app.find("Выбор сервиса").text == "Gemini", lambda: "the picker shows Gemini")
    wait_for_state(app, lambda st: any(sv["name"] == "Gemini" for sv in st.get("services", [])),
                   'a service "Gemini", trimmed')

with s.step("Cyrillic name, note and password; Return saves and closes"):
    app.type_text("Заметка аккаунта", NOTE)
    # Qt 6.4 gives a masked field no accessible name: it is the sheet's only one.
    app.type_text(app.find(role="password text"), PASSWORD)
    app.type_text("Название аккаунта", "  " + ACCOUNT + " ")
    app.key("Return")
    app.wait_gone("Добавить аккаунт", role="dialog")
    s.screenshot("added")

with s.step("the state file has the trimmed account in the new service, and its event"):
    wait_for_state(app, lambda st: any(a["name"] == ACCOUNT for a in st.get("accounts", [])),
                   "an account named %r" % ACCOUNT)
    account = account_named(ACCOUNT)
    assert account["note"] == NOTE, account
    assert account["password"] == PASSWORD, account
    assert account["serviceId"] == service_named("Gemini")["id"], account
    assert "resetAt" not in account, account
    details = [(e["type"], e["details"]) for e in state()["events"] if e["accountId"] == account["id"]]
    assert details == [("created", "Создан аккаунт " + ACCOUNT)], details

with s.step("a duplicate service name shows the error above the sheet and keeps the text"):
    open_account_editor(app)
    app.type_text("Название аккаунта", "не сохранять")
    app.type_text("Название нового сервиса", "gemini")
    app.click("Создать сервис из формы аккаунта", role="push button")
    app.wait_for("Ошибка", role="dialog")
    app.wait_for("Сервис с таким названием уже существует.", role="label")
    s.screenshot("duplicate-service")
    app.click("ОК", role="push button")   # a real click: it lands only if the alert is on top
    app.wait_gone("Ошибка", role="dialog")
    assert app.find("Название нового сервиса").text == "gemini"
    assert len([sv for sv in state()["services"] if sv["name"].lower() == "gemini"]) == 1

with s.step("back in the sheet, Escape cancels it and saves nothing"):
    app.key("Escape")
    app.wait_gone("Добавить аккаунт", role="dialog")
    assert account_named("не сохранять") is None

with s.step("editing with the manual switch on stores a moment a week ahead"):
    opened_at = datetime.datetime.now(datetime.timezone.utc)
    app.click("Действия для " + ACCOUNT, role="push button")
    app.click("Редактировать", role="menu item")
    app.wait_for("Редактировать аккаунт", role="dialog")
    assert app.find("Название аккаунта").text == ACCOUNT
    assert app.find("Выбор сервиса").text == "Gemini"
    app.toggle("Задать время восстановления вручную", to=True)
    app.wait_for("Дата и время восстановления")
    s.screenshot("edit-manual-reset")
    app.click("Сохранить аккаунт", role="push button")
    app.wait_gone("Редактировать аккаунт", role="dialog")
    wait_for_state(app, lambda st: "resetAt" in (account_named(ACCOUNT) or {}), "a resetAt")
    reset_at = parse_date(account_named(ACCOUNT)["resetAt"])
    assert abs(reset_at - (opened_at + WEEK)) < datetime.timedelta(minutes=2), reset_at
    types = [e["type"] for e in state()["events"]]
    assert types[-2:] == ["edited", "manualResetAtSet"], types

with s.step("the picker's minute goes up with the arrow key, in local time"):
    app.click("Действия для " + ACCOUNT, role="push button")
    app.click("Редактировать", role="menu item")
    app.wait_for("Редактировать аккаунт", role="dialog")
    assert app.find("Задать время восстановления вручную").checked
    before = parse_date(account_named(ACCOUNT)["resetAt"]).astimezone()
    app.click("Минуты восстановления")
    app.key("Up")
    app.key("Return")
    app.wait_gone("Редактировать аккаунт", role="dialog")
    expected = before.replace(minute=(before.minute + 1) % 60, second=0)
    wait_for_state(app, lambda st: parse_date(account_named(ACCOUNT)["resetAt"]) == expected,
                   "resetAt %s" % expected.isoformat())

with s.step("saving with the manual switch off clears the moment"):
    app.click("Действия для " + ACCOUNT, role="push button")
    app.click("Редактировать", role="menu item")
    app.wait_for("Редактировать аккаунт", role="dialog")
    app.toggle("Задать время восстановления вручную", to=False)
    app.wait_gone("Дата и время восстановления")
    app.click("Сохранить аккаунт", role="push button")
    app.wait_gone("Редактировать аккаунт", role="dialog")
    wait_for_state(app, lambda st: "resetAt" not in account_named(ACCOUNT), "no resetAt")
    assert state()["events"][-1]["details"] == "Изменен аккаунт " + ACCOUNT

with s.step('the sidebar\'s "Переименовать" opens the service editor with the name'):
    app.click("Gemini", role="push button", button=3)
    app.click("Переименовать", role="menu item")
    app.wait_for("Переименовать сервис", role="dialog")
    field = app.wait_for("Название сервиса", role="text")
    assert field.text == "Gemini", field.text
    app.wait_until(lambda: field.focused, lambda: "the service name field has the focus")

with s.step("renaming saves the trimmed name"):
    app.type_text(field, " Gemini Про ")
    app.key("Return")
    app.wait_gone("Переименовать сервис", role="dialog")
    wait_for_state(app, lambda st: any(sv["name"] == "Gemini Про" for sv in st.get("services", [])),
                   'the service renamed to "Gemini Про"')
    assert service_named("Gemini") is None

with s.step('the sidebar\'s "+" creates a service; Escape on another one saves nothing'):
    app.click("Создать сервис", role="push button")
    app.wait_for("Создать сервис", role="dialog")
    assert app.find("Название сервиса").text == ""
    app.key("Return")
    app.type_text("Название сервиса", "  ")
    app.click("Сохранить", role="push button")
    app.wait_for("Создать сервис", role="dialog", timeout=1.0)
    app.type_text("Название сервиса", "  Claude  ")
    s.screenshot("service-editor")
    app.click("Сохранить", role="push button")
    app.wait_gone("Создать сервис", role="dialog")
    wait_for_state(app, lambda st: any(sv["name"] == "Claude" for sv in st.get("services", [])),
                   'a service "Claude"')
    app.click("Создать сервис", role="push button")
    app.wait_for("Создать сервис", role="dialog")
    app.type_text("Название сервиса", "Mistral")
    app.key("Escape")
    app.wait_gone("Создать сервис", role="dialog")
    assert service_named("Mistral") is None

with s.step("services created and renamed wrote no history events"):
    types = [e["type"] for e in state()["events"]]
    assert types == ["created", "edited", "manualResetAtSet", "edited", "manualResetAtSet", "edited"], types

with s.step("the editors logged no QML warnings"):
    problems = [line for line in app.log().splitlines()
                if "/sheets/" in line or "EditorHost.qml" in line]
    assert not problems, "\n".join(problems)

sys.exit(s.finish())
