# The history and help journey: an unreadable state file is reported; the log
# lists its events newest first, names a deleted account "Неизвестный аккаунт"
# and narrows to a search; a log of 100,000 events opens and filters; the help
# centre shows its topics.
import datetime
import sys

from tallyport_ui import Journey, account, event, write_state

MINUTE = datetime.timedelta(minutes=1)
EPOCH = datetime.datetime(2026, 3, 2, 21, 30, tzinfo=datetime.timezone.utc)
j = Journey()

with j.step("an unreadable state file shows the error alert; Escape clears it"):
    write_state(text="{ not json")
    app = j.launch()
    app.find("Ошибка", "dialog", timeout=10)
    app.find(contains="Не удалось загрузить данные: ", role="label")
    app.key("Escape")
    app.wait_gone("Ошибка", "dialog")

work, personal = account("work@example.com"), account("Личный")
gone = {"id": "0B0B0B0B-0000-4000-8000-000000000001"}
EVENTS = [event(work, "created", "Создан аккаунт work@example.com", EPOCH),
          event(personal, "created", "Создан аккаунт Личный", EPOCH + MINUTE),
          event(work, "used", "Запущен недельный отсчет", EPOCH + 2 * MINUTE),
          event(gone, "deleted", "Удален аккаунт Старый", EPOCH + 3 * MINUTE)]
DETAILS = [e["details"] for e in EVENTS]


def shown():
    return [t for t in app.texts() if t in DETAILS]


with j.step('the history lists the events newest first; a deleted account is "Неизвестный аккаунт"'):
    write_state(accounts=[work, personal], events=EVENTS)
    app = j.launch()
    app.click("История", "push button")
    app.find("Неизвестный аккаунт", "label")
    assert shown() == DETAILS[::-1], shown()

with j.step("the search narrows the rows to the account's; the help centre shows its topics"):
    app.type_text("Поиск", "личн", "text")
    app.wait_until(lambda: shown() == ["Создан аккаунт Личный"], lambda: "only Личный's event (%r)" % shown())
    app.click("Помощь", "push button")
    assert all(app.find(topic, "label") for topic in ("Центр помощи", "Быстрый старт", "Таймеры и статусы"))

with j.step("a log of 100,000 events opens with its newest rows and filters to one account"):
    accounts = [account("Аккаунт %04d" % i) for i in range(1000)]
    write_state(accounts=accounts, events=[event(accounts[i % 1000], "used", "Запущен недельный отсчет",
                                                 EPOCH + i * MINUTE) for i in range(100000)])
    app = j.launch()
    app.click("История", "push button")
    app.find("Аккаунт 0999", "label", timeout=20)
    headlines = lambda: [t for t in app.texts() if t.startswith("Аккаунт ")]
    assert headlines()[:3] == ["Аккаунт 0999", "Аккаунт 0998", "Аккаунт 0997"], headlines()[:3]
    assert len(headlines()) < 100, "%d rows made for one screen" % len(headlines())
    app.type_text(app.find("Поиск", "text"), "Аккаунт 0042")
    app.wait_until(lambda: set(headlines()) == {"Аккаунт 0042"}, lambda: "only Аккаунт 0042 (%r)" % headlines()[:5],
                   timeout=20)

sys.exit(j.finish())
