# A tour of the window on a small demo state, for the documentation: every
# destination and sheet, photographed in the appearance given on the command
# line. Not a test; `make screenshots` runs it in light and dark.
#
# tests/e2e/session -- /usr/bin/python3 scripts/tour.py build/src/tallyport light OUT_DIR
import datetime
import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))  # the journeys' driver
import tallyport_ui as ui
from tallyport_ui import DAY, NOW, account, event, service, write_preferences, write_state


def seed(mode):
    # Three services, accounts in every state, an archived one, a long name, some history.
    chatgpt, claude, gemini = service("ChatGPT", 90 * DAY), service("Claude", 60 * DAY), service("Gemini", 30 * DAY)
    hours = lambda n: datetime.timedelta(hours=n)
    accounts = [
        account("work@example.com", chatgpt["id"], 80 * DAY, 2 * DAY + hours(5.2), note="Plus, лимит 40 сообщений",
                password="s3cret"),
        account("Личный", claude["id"], 50 * DAY, hours(-6), note="Pro, вход через Google", password="s3cret"),
        account("team@studio.ru", claude["id"], 40 * DAY, 6 * DAY + hours(20), note="Команда дизайна",
                password="s3cret"),
        account("research", gemini["id"], 20 * DAY, note="Длинные документы", password="s3cret", hasNoLimits=True),
        account("Общий аккаунт отдела исследований и разработки для длинных документов, отчётов и переписки "
                "с партнёрами", gemini["id"], 15 * DAY, 3 * DAY, note="рабочий аккаунт", password="s3cret"),
        account("archive-bot", gemini["id"], 12 * DAY, note="без лимитов", hasNoLimits=True),
        account("backup@gmail.com", chatgpt["id"], 10 * DAY),
        account("старый аккаунт", age=120 * DAY, reset_in=-20 * DAY, note="в архиве", password="s3cret",
                isArchived=True, archivedAt=ui.iso(NOW - 3 * DAY)),
    ]
    events = [event(a, "created", "Создан аккаунт " + a["name"], ui.parse_date(a["createdAt"])) for a in accounts]
    events += [event(a, "used", "Запущен недельный отсчет", ui.parse_date(a["startedAt"])) for a in accounts
               if "startedAt" in a]
    events.append(event(accounts[0], "edited", "Пароль скопирован в буфер обмена", NOW - hours(2)))
    write_state([chatgpt, claude, gemini], accounts, sorted(events, key=lambda e: e["timestamp"]))
    write_preferences(appearanceMode=mode)


def main(program, mode, out):
    os.makedirs(out, exist_ok=True)
    seed(mode)
    app = ui.launch(program, env={"TALLYPORT_ABOUT_DATA": os.path.join(ROOT, "tests/data/about/fake-wallets.json")})
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

    section = lambda title: (lambda: app.click(title, "push button"))
    escape = lambda: app.key("Escape")
    app.find("Обзор системы", "label", timeout=15)
    shot("01-all-accounts")
    shot("02-service", section("Claude"))
    shot("03-archive", section("Архив"))
    shot("04-account-editor", section("Все аккаунты"), lambda: app.click("Добавить аккаунт", "push button"),
         lambda: app.find("Добавить аккаунт", "dialog"))
    escape()
    shot("05-history", section("История"))
    shot("06-help", section("Помощь"))
    shot("07-preferences-general", section("Все аккаунты"), lambda: app.click("Настройки", "push button"),
         lambda: app.find("Настройки", "dialog"))
    shot("08-preferences-notifications", lambda: app.click("Уведомления"))
    escape()
    shot("09-about", section("О программе"))
    shot("10-changelog", lambda: app.click("Открыть историю изменений"),
         lambda: app.find("История изменений", "dialog"))
    escape()
    shot("11-wallet-qr", lambda: app.click(app.find_all(contains="Показать QR-код ")[0]))
    escape()
    shot("12-long-name", section("Gemini"))
    shot("13-keyboard-focus", lambda: app.key("ctrl+f"), lambda: app.key(*["Tab"] * 6))
    app.quit()
    print("%d passed, %d failed" % (13 - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
