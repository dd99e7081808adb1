# The accounts journey, on a service's page: rows show each status and offer
# what it allows, "Использовать" starts a countdown, the row menu archives and the archive restores, the account
# editor adds to the service and edits with a manual restore moment, and
# deleting asks first; each change checked in the window and in the state file
# on disk. Along the way, as a screen reader and a keyboard user meet them: a
# disabled control, the copy's feedback, Tab through every row of a long list,
# the shortcuts. A masked field is the preferences journey's, a drawn window
# its brightness's.
import datetime
import re
import sys

from tallyport_ui import DAY, Journey, account, parse_date, service, stored, write_state, NOW, TEXT_ROLES

COUNTDOWN = re.compile(r"^\d+д \d+ч")
MARKUP = "Dunst & <b>Co</b>"  # would be markup if it were drawn as rich text
openai, team = service("OpenAI"), service("Команда")
write_state([openai, team], [account("Alpha", openai["id"], age=DAY / 24), account("Beta", openai["id"], age=DAY / 12),
                             account("Gamma", openai["id"], reset_in=-DAY / 12, age=DAY / 8),
                             account("Delta", openai["id"], reset_in=2 * DAY, age=DAY / 6),
                             account(MARKUP, openai["id"], age=DAY / 4, password="delta-pass")]
            + [account("Участник %02d" % n, team["id"], age=DAY + n * DAY / 100) for n in range(1, 31)])
j = Journey()


def row_texts(name):
    # The texts the account's row shows (the service's few rows all show at once).
    return [n.name for n in app.find("Аккаунт " + name, "list item").walk()
            if n.role in TEXT_ROLES and n.name and {"showing", "visible"} <= n.states]


def row_menu(name, item):
    app.menu("Действия для " + name, item, button=1)
    app.wait_gone(item, "menu item")


saved_account = lambda name: stored("accounts", name)


with j.step("each row shows its status and offers what it allows: idle, restored, counting down"):
    app = j.launch()
    app.click("OpenAI", "push button")
    assert app.find("Использовать аккаунт Alpha", "push button") and not {"Активен", "Лимит восстановлен"} & set(
        row_texts("Alpha")), row_texts("Alpha")
    assert app.find("Использовать аккаунт Gamma снова", "push button") and "Лимит восстановлен" in row_texts("Gamma")
    assert any(COUNTDOWN.match(t) for t in row_texts("Delta")) and "Активен" in row_texts("Delta"), row_texts("Delta")
    assert not app.find_all(contains="Использовать аккаунт Delta"), "a counting row offers no use button"

with j.step("a row without a password offers a disabled copy button, deaf to a click; a copy is announced, then "
            "reverts"):
    copy = app.click("Скопировать пароль Alpha", "push button")
    assert not copy.enabled, copy.states
    assert MARKUP in row_texts(MARKUP), row_texts(MARKUP)
    app.click("Скопировать пароль " + MARKUP, "push button")
    app.find("Скопировано: пароль " + MARKUP, "push button", timeout=1)
    app.find("Скопировать пароль " + MARKUP, "push button")
    assert not app.find_all("Скопировано: пароль Alpha"), "Alpha's disabled button answered"

with j.step('"Использовать" starts a seven-day countdown, on the row and on disk'):
    app.click("Использовать аккаунт Alpha", "push button")
    app.wait_until(lambda: any(COUNTDOWN.match(t) for t in row_texts("Alpha")), lambda: "a countdown for Alpha")
    app.wait_until(lambda: "resetAt" in saved_account("Alpha"), lambda: "Alpha saved with a restore moment")
    reset_at = parse_date(saved_account("Alpha")["resetAt"])
    assert abs(reset_at - (NOW + 7 * DAY)) < datetime.timedelta(minutes=5), reset_at

with j.step('the row menu archives; "Архив" shows the row without a copy button and restores it'):
    row_menu("Alpha", "Архивировать")
    app.wait_gone("Аккаунт Alpha", "list item")
    app.wait_until(lambda: saved_account("Alpha")["isArchived"], lambda: "Alpha saved as archived")
    app.click("Архив", "push button")
    assert "В архиве" in row_texts("Alpha") and app.find("Удалить навсегда аккаунт Alpha", "push button")
    assert not app.find_all("Скопировать пароль Alpha"), "the archive row offers no copy button"
    app.click("Восстановить аккаунт Alpha", "push button")
    app.find("Архив пуст", "label")
    app.wait_until(lambda: not saved_account("Alpha")["isArchived"], lambda: "Alpha saved as not archived")

with j.step('"Добавить аккаунт" adds to the service: Cyrillic name, note and password; Return saves it trimmed'):
    app.click("OpenAI", "push button")
    app.click("Добавить аккаунт", "push button")
    assert app.find("Выбор сервиса").text == "OpenAI"
    save = app.find("Сохранить аккаунт", "push button")
    app.type_text("Заметка аккаунта", "Лимит 40 сообщений")
    app.type_text(app.find(role="password text"), "пароль-123")
    app.type_text("Название аккаунта", "   ", "text")
    assert not save.enabled, "Save offered for a blank name"
    app.type_text("Название аккаунта", "  Основной ключ ", "text")
    assert save.enabled, save.states
    app.key("Return")
    app.wait_gone("Добавить аккаунт", "dialog")
    app.wait_until(lambda: saved_account("Основной ключ"), lambda: "the new account saved")
    added = saved_account("Основной ключ")
    assert (added["note"], added["password"], added["serviceId"]) == ("Лимит 40 сообщений", "пароль-123", openai["id"])

with j.step("editing with the manual switch on stores a moment a week ahead; switched off, clears it"):
    row_menu("Основной ключ", "Редактировать")
    app.click("Задать время восстановления вручную")
    app.find("Дата и время восстановления")
    app.click("Сохранить аккаунт", "push button")
    app.wait_until(lambda: "resetAt" in saved_account("Основной ключ"), lambda: "a saved restore moment")
    reset_at = parse_date(saved_account("Основной ключ")["resetAt"])
    assert abs(reset_at - (NOW + 7 * DAY)) < datetime.timedelta(minutes=5), reset_at
    row_menu("Основной ключ", "Редактировать")
    app.click("Задать время восстановления вручную")
    app.click("Сохранить аккаунт", "push button")
    app.wait_until(lambda: "resetAt" not in saved_account("Основной ключ"), lambda: "the moment cleared")

with j.step('"Удалить" asks first; confirming removes the account from the list and the file'):
    row_menu("Beta", "Удалить")
    app.find("Удалить аккаунт?", "dialog")
    assert saved_account("Beta"), "deleted before the confirmation"
    app.click("Удалить", "push button")
    app.wait_gone("Аккаунт Beta", "list item")
    app.wait_until(lambda: not saved_account("Beta"), lambda: "Beta gone from the state file")

with j.step("Tab and Shift+Tab walk every control of every row of a long list, scrolled into view; Up and Down "
            "change rows"):
    app.click("Команда", "push button")
    lx, ly, lw, lh = app.find("Аккаунты", "list").extents
    expected = [control % ("Участник %02d" % n) for n in range(1, 31)
                for control in ("Переключить флаг лимитов нет %s", "Использовать аккаунт %s", "Действия для %s")]
    focus = lambda: app.focus.name if app.focus else ""

    def press(key, name):
        app.key(key)
        app.wait_until(lambda: focus() == name, lambda: "%s focuses %r (has %r)" % (key, name, focus()))

    press("ctrl+f", "Поиск")
    for _ in range(6):   # through the toolbar into the list
        before = focus()
        app.key("Tab")
        app.wait_until(lambda: focus() != before, lambda: "Tab moves the focus from %r" % before)
        if focus() == expected[0]:
            break
    for name in expected[1:]:
        press("Tab", name)
        x, y, w, h = app.focus.extents
        assert ly <= y and y + h <= ly + lh, "%s at %d..%d, the list shows %d..%d" % (name, y, y + h, ly, ly + lh)
    app.key("Tab")
    app.wait_until(lambda: not focus().endswith("Участник 30"), lambda: "the focus past the list")
    for key, name in (("shift+Tab", expected[-1]), ("shift+Tab", expected[-2]), ("Up", expected[-5]),
                      ("Down", expected[-2])):
        press(key, name)

with j.step("F1 opens the help, Ctrl+, the preferences"):
    app.key("F1")
    app.find("Быстрый старт", "label")
    app.key("ctrl+comma")
    app.find("Настройки", "dialog")
    app.key("Escape")
    app.wait_gone("Настройки", "dialog")

with j.step("Ctrl+W closes the window, which ends the app"):
    app.key("ctrl+w")
    app.wait_until(lambda: app.proc.poll() is not None, lambda: "the app ended")
    assert app.proc.returncode == 0, app.proc.returncode

sys.exit(j.finish())
