# The services journey: the sidebar and the toolbar of each destination, the
# keyboard, services created, renamed and deleted from the sidebar and from the
# account form (with the duplicate-name alert), and an account dragged onto a
# service; each change checked in the state file.
import sys

from tallyport_ui import DAY, Journey, account, read_state, service, stored, write_state

chatgpt, claude = service("ChatGPT", age=60 * DAY), service("Claude")
write_state([chatgpt, claude], [account("work@example.com", claude["id"]), account("Beta")])
j = Journey()


def service_names():
    return [s["name"] for s in read_state()["services"]]


def prompt():
    return app.find("Поиск", "text").description


with j.step("the sidebar lists every section, then the system service and the others oldest first"):
    app = j.launch()
    for title in ("Все аккаунты", "Активные лимиты", "История", "Помощь", "Архив", "О программе"):
        app.find(title, "push button")
    tops = [app.find(name, "push button").extents[1] for name in ("Без сервиса", "ChatGPT", "Claude")]
    assert tops == sorted(tops), "rows at %s" % tops

with j.step("the toolbar fits each destination; choosing one empties the search"):
    assert prompt() == "Поиск аккаунтов...", prompt()
    app.type_text("Поиск", "work")
    app.click("Архив", "push button")
    app.wait_until(lambda: app.find("Поиск", "text").text == "", lambda: "an empty search")
    app.wait_gone("Добавить аккаунт", "push button")
    app.click("История", "push button")
    app.wait_until(lambda: prompt() == "Поиск по истории...", lambda: "the history prompt, not %r" % prompt())
    for title in ("Помощь", "О программе"):
        app.click(title, "push button")
        app.wait_gone("Поиск", "text")
    app.click("ChatGPT", "push button")
    app.find("Добавить аккаунт", "push button")
    app.wait_until(lambda: prompt() == "Поиск аккаунтов...", lambda: "the accounts prompt")
    j.screenshot("service")

with j.step("Ctrl+F focuses the search, Tab and Space choose a section, Ctrl+N opens the account editor"):
    app.click("Все аккаунты", "push button")
    app.key("ctrl+f")
    app.wait_until(lambda: app.find("Поиск", "text").focused, lambda: "the search focused")
    app.click("Активные лимиты", "push button")
    app.key("Tab", "space")
    app.wait_until(lambda: prompt() == "Поиск по истории...", lambda: "history chosen by Tab, Space")
    app.click("Все аккаунты", "push button")
    app.key("ctrl+n")
    app.find("Добавить аккаунт", "dialog")

with j.step("a service created from the account form is picked; a duplicate name alerts above the sheet"):
    app.type_text("Название нового сервиса", "  Gemini ")
    app.click("Создать сервис из формы аккаунта", "push button")
    app.wait_until(lambda: app.find("Выбор сервиса").text == "Gemini", lambda: "the picker shows Gemini")
    assert app.find("Название нового сервиса").text == ""
    app.type_text("Название нового сервиса", "gemini")
    app.click("Создать сервис из формы аккаунта", "push button")
    app.find("Сервис с таким названием уже существует.", "label")
    j.screenshot("duplicate-service")
    app.click("ОК", "push button")   # a real click: it lands only if the alert is on top
    app.wait_gone("Ошибка", "dialog")
    assert app.find("Название нового сервиса").text == "gemini"
    app.key("Escape")
    app.wait_gone("Добавить аккаунт", "dialog")
    assert service_names() == ["Без сервиса", "ChatGPT", "Claude", "Gemini"], service_names()

with j.step('"+" creates a service, blank names do nothing, Escape saves nothing'):
    app.click("Создать сервис", "push button")
    app.find("Создать сервис", "dialog")
    app.type_text("Название сервиса", "  ")
    app.click("Сохранить", "push button")
    app.find("Создать сервис", "dialog", timeout=1.0)
    app.type_text("Название сервиса", "  Mistral  ")
    j.screenshot("service-editor")
    app.key("Return")
    app.wait_until(lambda: stored("services", "Mistral"), lambda: 'a service "Mistral", trimmed')
    app.click("Создать сервис", "push button")
    app.type_text("Название сервиса", "Llama")
    app.key("Escape")
    app.wait_gone("Создать сервис", "dialog")
    assert not stored("services", "Llama")

with j.step('"Переименовать" opens the editor on the name and saves it trimmed; the system service has no menu'):
    app.click("Без сервиса", "push button", button=3)
    app.menu("Gemini", "Переименовать")
    field = app.find("Название сервиса", "text")
    app.wait_until(lambda: field.text == "Gemini" and field.focused, lambda: "the name, focused")
    app.type_text(field, " Gemini Про ")
    app.key("Return")
    app.wait_until(lambda: stored("services", "Gemini Про"), lambda: "the service renamed")

with j.step("an account dragged onto a service in the sidebar moves there"):
    app.click("Без сервиса", "push button")
    app.drag(app.find("Аккаунт Beta", "list item"), app.find("ChatGPT", "push button"))
    app.find("В сервисе пока нет аккаунтов", "label")
    app.wait_until(lambda: stored("accounts", "Beta")["serviceId"] == chatgpt["id"], lambda: "Beta saved in ChatGPT")
    app.click("ChatGPT", "push button")
    app.find("Аккаунт Beta", "list item")

with j.step("deleting a service asks first; its accounts go to the system service"):
    app.menu("Claude", "Удалить")
    app.find("Аккаунты из сервиса будут автоматически перенесены в «Без сервиса».", "label")
    app.key("Escape")
    app.wait_gone("Удалить сервис?", "dialog")
    assert "Claude" in service_names()
    app.menu("Claude", "Удалить")
    app.click("Удалить сервис", "push button")
    app.wait_gone("Claude", "push button")
    app.wait_until(lambda: "Claude" not in service_names(), lambda: "services %s" % service_names())
    assert stored("accounts", "work@example.com")["serviceId"] == stored("services", "Без сервиса")["id"]
    # Creating, renaming and deleting services writes no history; a move does.
    assert [e["type"] for e in read_state()["events"]] == ["edited"], read_state()["events"]
    assert not app.qml_warnings(), "\n".join(app.qml_warnings())

sys.exit(j.finish())
