# The preferences journey: a previewed theme goes back on "Отмена" and Escape,
# the full timer format is saved and shown, a backup is exported through the
# save panel and imported back after a wrong password, by merging and by
# replacing (the password field masked to a screen reader, the action disabled
# while it is empty), and a stored dark appearance shows from the first frame. The open
# panel answers through its test hook (TALLYPORT_TEST_OPEN_PATH).
import json
import os
import re
import subprocess
import sys

from tallyport_ui import DAY, Journey, account, read_preferences, read_state, scratch_dir, service, \
    write_preferences, write_state

COMPACT = re.compile(r"^\d+д \d+ч \d+м \d+с$")
FULL = re.compile(r"^\d+ дней \d+ часов \d+ минут \d+ секунд$")
ADDED = "Добавлен после экспорта"
PASSWORD = "пароль архива 1"
chatgpt = service("ChatGPT")
write_state([chatgpt], [account("work@example.com", chatgpt["id"], reset_in=6 * DAY)])
backup = os.path.join(scratch_dir(), "backup.json")
j = Journey()


def countdown():
    # The row sits low under the overview and the full text wraps below the
    # window's edge: any label counts, shown or not.
    return next((n.name for n in app.all_nodes()
                 if n.role == "label" and (COMPACT.match(n.name) or FULL.match(n.name))), "")


def brightness(label):
    # Mean brightness (0..1) of the sidebar's lower part.
    out = subprocess.run(["convert", j.screenshot(label), "-crop", "200x80+10+480", "+repage", "-colorspace", "Gray",
                          "-format", "%[fx:mean]", "info:"], capture_output=True, text=True, check=True)
    return float(out.stdout)


account_names = lambda: sorted(a["name"] for a in read_state()["accounts"])


def open_preferences():
    app.click("Настройки", "push button")
    app.find("Настройки", "dialog")


def backup_sheet(button, password, mode=None):
    app.click(button, "push button")
    title = app.find(button + " данных", "dialog").name
    action = app.find(button + "ировать", "push button")
    if mode:
        app.choose("Режим импорта", mode)
    # Masked as a screen reader meets it: labelled, one mask character a letter.
    assert not action.enabled, action.states
    field = app.type_text(app.find(role="password text"), password)
    app.wait_until(lambda: len(field.text) == len(password) and len(set(field.text)) == 1 and field.text[0] not in password,
                   lambda: "%d mask characters (read %r)" % (len(password), field.text))
    assert field.description == "Пароль архива" and action.enabled, (field.description, action.states)
    app.click(action)
    app.wait_gone(title, "dialog")


with j.step('"Ночь" darkens the window at once; "Отмена" brings the light back'):
    app = j.launch(env={"TALLYPORT_TEST_OPEN_PATH": backup})
    app.wait_until(lambda: COMPACT.match(countdown()), lambda: "a compact countdown (%r)" % countdown())
    assert brightness("start") > 0.6, "the window starts light"
    open_preferences()
    app.choose("Оформление", "Ночь")
    app.wait_until(lambda: brightness("dark-preview") < 0.3, lambda: "a dark window while previewing")
    app.click("Отмена", "push button")
    app.wait_gone("Настройки", "dialog")
    app.wait_until(lambda: brightness("after-cancel") > 0.6, lambda: "a light window again")
    assert "appearanceMode" not in read_preferences(), read_preferences()
    open_preferences()

with j.step("the save panel writes an encrypted backup where it is told"):
    backup_sheet("Экспорт", PASSWORD)
    app.type_text("Имя файла", backup, "text")
    app.key("Return")
    app.wait_until(lambda: os.path.exists(backup), lambda: "the backup file %s" % backup)
    with open(backup, encoding="utf-8") as f:
        assert set(json.load(f)) == {"schemaVersion", "saltBase64", "combinedBase64"}, f.name

with j.step('"Полный" writes the countdown out; "Сохранить" stores it'):
    app.choose("Формат таймера", "Полный")
    app.wait_until(lambda: FULL.match(countdown()), lambda: "a full countdown (%r)" % countdown())
    app.click("Сохранить", "push button")
    app.wait_gone("Настройки", "dialog")
    app.wait_until(lambda: read_preferences().get("timerFormat") == "full", lambda: "timerFormat full stored")

with j.step("after another account is added, a wrong password is reported and changes nothing"):
    app.click("Добавить аккаунт", "push button")
    app.type_text("Название аккаунта", ADDED)
    app.key("Return")
    app.wait_until(lambda: ADDED in account_names(), lambda: "the added account saved")
    open_preferences()
    backup_sheet("Импорт", "не тот пароль")
    app.find(contains="Не удалось выполнить импорт: ", role="label")
    app.click("ОК", "push button")
    app.wait_gone("Ошибка", "dialog")
    assert ADDED in account_names()

with j.step('"Объединить с текущими данными" keeps the added account and the preferences'):
    backup_sheet("Импорт", PASSWORD, mode="Объединить с текущими данными")
    app.click("Отмена", "push button")
    app.wait_gone("Настройки", "dialog")
    assert not app.find_all("Ошибка", "dialog"), app.texts()
    assert account_names() == sorted(["work@example.com", ADDED]), account_names()
    assert read_preferences().get("timerFormat") == "full" and FULL.match(countdown()), countdown()

with j.step('"Заменить текущие данные" takes the backup\'s data and preferences'):
    open_preferences()
    backup_sheet("Импорт", PASSWORD, mode="Заменить текущие данные")
    app.click("Сохранить", "push button")
    app.wait_gone("Настройки", "dialog")
    app.wait_until(lambda: account_names() == ["work@example.com"], lambda: "the backup's accounts (%r)"
                   % account_names())
    app.wait_until(lambda: COMPACT.match(countdown()), lambda: "a compact countdown (%r)" % countdown())
    assert read_preferences().get("timerFormat") == "compact", read_preferences()

with j.step("a stored dark appearance shows from the first frame"):
    app.quit()
    write_preferences(appearanceMode="dark")
    app = j.launch()
    assert 0.05 < brightness("dark") < 0.3, "the window starts dark, and drawn"

sys.exit(j.finish())
