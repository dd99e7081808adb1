# The pages journey: an unreadable state file is reported; the history lists
# its events newest first, names a deleted account "Неизвестный аккаунт" and
# narrows to a search; the help centre shows its topics. About, in the light,
# as built here with no donation wallets configured: the version and the
# developer card, neither wallet cards nor the sentence pointing to them, the
# changelog as written. Then, in the dark, a log of 100,000 events opens and
# filters, and with a test file of made-up addresses (TALLYPORT_ABOUT_DATA)
# About shows one card per wallet with an address, a sharp 280 x 280 QR code
# and a copy that pastes.
import datetime
import os
import subprocess
import sys

from tallyport_ui import Journey, account, event, write_preferences, write_state

MINUTE = datetime.timedelta(minutes=1)
EPOCH = datetime.datetime(2026, 3, 2, 21, 30, tzinfo=datetime.timezone.utc)
FAKE_WALLETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "about", "fake-wallets.json")
TON_ADDRESS = "UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"
ERC20_ADDRESS = "0x1234567890abcdef1234567890abcdef12345678"
THANKS = "Если приложение вам полезно, можно отблагодарить автора переводом любой суммы на один из криптокошельков ниже."
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
shown = lambda: [t for t in app.texts() if t in DETAILS]   # the history's rows, in order


def open_about():
    app.click([n for n in app.find_all("О программе") if n.role != "label"][0])
    app.find("Версия 1.14", "label")


with j.step('the history lists the events newest first; a deleted account is "Неизвестный аккаунт"'):
    write_state(accounts=[work, personal], events=EVENTS)
    write_preferences(appearanceMode="light")
    app = j.launch()
    app.click("История", "push button")
    app.find("Неизвестный аккаунт", "label")
    assert shown() == DETAILS[::-1], shown()

with j.step("the search narrows the rows to the account's; the help centre shows its topics"):
    app.type_text("Поиск", "личн", "text")
    app.wait_until(lambda: shown() == ["Создан аккаунт Личный"], lambda: "only Личный's event (%r)" % shown())
    app.click("Помощь", "push button")
    assert all(app.find(topic, "label") for topic in ("Центр помощи", "Быстрый старт", "Таймеры и статусы"))

with j.step("[light] without configured wallets: the version and the developer card, no wallet and no pointer to one"):
    open_about()
    app.find("Открыть сайт разработчика")
    names = [n.name for n in app.find_all()]
    assert not any(n.startswith(("Показать QR-код", "Скопировать адрес", THANKS)) for n in names), names

with j.step("[light] the changelog shows as written"):
    app.click("Открыть историю изменений")
    # Qt gives the lines of a text edit to AT-SPI as paragraphs.
    text = app.find("Текст истории изменений").text.replace("\u2029", "\n")
    assert text.startswith("# Changelog\n\n## 1.14 — текущая версия\n") and "\n## Прототип\n" in text, text[:80]
    app.key("Escape")
    app.wait_gone("История изменений", "dialog")

with j.step("[dark] a log of 100,000 events opens with its newest rows and filters to one account"):
    accounts = [account("Аккаунт %04d" % i) for i in range(1000)]
    write_state(accounts=accounts, events=[event(accounts[i % 1000], "used", "Запущен недельный отсчет",
                                                 EPOCH + i * MINUTE) for i in range(100000)])
    write_preferences(appearanceMode="dark")
    app = j.launch(env={"TALLYPORT_ABOUT_DATA": FAKE_WALLETS})
    app.click("История", "push button")
    app.find("Аккаунт 0999", "label", timeout=20)
    headlines = lambda: [t for t in app.texts() if t.startswith("Аккаунт ")]
    assert headlines()[:3] == ["Аккаунт 0999", "Аккаунт 0998", "Аккаунт 0997"], headlines()[:3]
    assert len(headlines()) < 100, "%d rows made for one screen" % len(headlines())
    app.type_text(app.find("Поиск", "text"), "Аккаунт 0042")
    app.wait_until(lambda: set(headlines()) == {"Аккаунт 0042"}, lambda: "only Аккаунт 0042 (%r)" % headlines()[:5],
                   timeout=20)

with j.step("[dark] with test addresses: the sentence and a card per wallet; a wallet's QR sheet shows a sharp "
            '280 x 280 code of the address; "Закрыть" closes it'):
    open_about()
    app.find(THANKS, "label")
    titles = [n.name[len("Показать QR-код "):] for n in app.all_nodes() if n.name.startswith("Показать QR-код ")]
    assert titles == ["Toncoin TON", "USDT ERC20", "USDT TRC20"], titles
    app.click("Показать QR-код Toncoin TON")
    app.find("Toncoin TON", "dialog")
    x, y, w, h = app.find("QR-код адреса Toncoin TON").extents
    assert (w, h) == (280, 280), "QR image is %dx%d" % (w, h)
    shot = j.screenshot("qr-dark")
    wx, wy, _, _ = app.window().extents
    histogram = subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (w, h, x - wx, y - wy), "+repage",
                                "-format", "%c", "histogram:info:-"], capture_output=True, text=True).stdout
    assert sorted(line.split("#")[1][:6] for line in histogram.splitlines()) == ["000000", "FFFFFF"], histogram
    decoded = subprocess.run(["zbarimg", "-q", "--raw", shot], capture_output=True, text=True).stdout
    assert decoded.strip() == TON_ADDRESS, "decoded %r" % decoded
    app.click("Закрыть")
    app.wait_gone("Toncoin TON", "dialog")

with j.step("[dark] a wallet's copied address pastes"):
    app.click("Скопировать адрес USDT ERC20")
    app.click("Все аккаунты", "push button")
    search = app.click("Поиск", "text")
    app.key("ctrl+v")
    app.wait_until(lambda: search.text == ERC20_ADDRESS, lambda: "the address pasted (%r)" % search.text)

sys.exit(j.finish())
