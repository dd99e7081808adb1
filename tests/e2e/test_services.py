# The services journey, through the real window and the state file: a
# destination change emptying the search, Ctrl+N, services created from the
# account form (with the duplicate-name alert above the sheet) and from the
# sidebar, renamed and deleted from its menu, and an account dragged onto a
# service. The sidebar's order is the store tests'.
import sys

from tallyport_ui import DAY, Journey, account, read_state, service, stored, write_state

chatgpt, claude = service("ChatGPT", age=60 * DAY), service("Claude")
write_state([chatgpt, claude], [account("work@example.com", claude["id"]), account("Beta")])
j = Journey()


service_names = lambda: [s["name"] for s in read_state()["services"]]


with j.step("choosing another destination empties the search; Ctrl+N adds an account"):
    app = j.launch()
    app.type_text("Поиск", "work")
    app.click("Архив", "push button")
    app.wait_until(lambda: app.find("Поиск", "text").text == "", lambda: "an empty search")
    app.click("ChatGPT", "push button")
    app.key("ctrl+n")
    app.find("Добавить аккаунт", "dialog")

with j.step("a service created from the account form is picked; a duplicate name alerts above the sheet"):
    for name in ("  Gemini ", "gemini"):
        app.type_text("Название нового сервиса", name)
        app.click("Создать сервис из формы аккаунта", "push button")
        app.wait_until(lambda: app.find("Выбор сервиса").text == "Gemini", lambda: "the picker shows Gemini")
    app.find("Сервис с таким названием уже существует.", "label")
    app.click("ОК", "push button")   # a real click: it lands only if the alert is on top
    app.wait_gone("Ошибка", "dialog")
    app.key("Escape")
    app.wait_gone("Добавить аккаунт", "dialog")
    assert service_names() == ["Без сервиса", "ChatGPT", "Claude", "Gemini"], service_names()

with j.step('the sidebar\'s "+" creates a service, saved only once named, and its menu renames one'):
    app.click("Создать сервис", "push button")
    app.type_text("Название сервиса", "   ", "text")
    save = app.click("Сохранить", "push button")
    assert not save.enabled, save.states
    app.key("Return")
    app.find("Создать сервис", "dialog")
    app.type_text("Название сервиса", "  Mistral  ", "text")
    assert save.enabled, save.states
    app.key("Return")
    app.wait_until(lambda: stored("services", "Mistral"), lambda: 'a service "Mistral", trimmed')
    app.menu("Gemini", "Переименовать")
    field = app.find("Название сервиса", "text")
    app.wait_until(lambda: field.text == "Gemini" and field.focused, lambda: "the name, focused")
    app.type_text(field, "Gemini Про")
    app.key("Return")
    app.wait_until(lambda: stored("services", "Gemini Про"), lambda: "the service renamed")

with j.step("an account dragged onto a service in the sidebar moves there"):
    app.click("Без сервиса", "push button")
    app.drag(app.find("Аккаунт Beta", "list item"), app.find("ChatGPT", "push button"))
    app.find("В сервисе пока нет аккаунтов", "label")
    app.wait_until(lambda: stored("accounts", "Beta")["serviceId"] == chatgpt["id"], lambda: "Beta saved in ChatGPT")

with j.step("deleting a service asks first; its accounts go to the system service"):
    app.menu("Claude", "Удалить")
    app.find("Аккаунты из сервиса будут автоматически перенесены в «Без сервиса».", "label")
    app.click("Удалить сервис", "push button")
    app.wait_gone("Claude", "push button")
    app.wait_until(lambda: "Claude" not in service_names(), lambda: "services %s" % service_names())
    assert stored("accounts", "work@example.com")["serviceId"] == stored("services", "Без сервиса")["id"]

sys.exit(j.finish())
