# The About journey, in the light and the dark appearance: the version and the
# developer card; as built here, with no donation wallets configured, neither
# wallet cards nor the sentence pointing to them; the changelog as written;
# and, with a test file of made-up addresses (TALLYPORT_ABOUT_DATA), one card
# per wallet with an address, a sharp 280 x 280 QR code and a copy that pastes.
import os
import subprocess
import sys

from tallyport_ui import Journey, write_preferences

FAKE_WALLETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "about", "fake-wallets.json")
TON_ADDRESS = "UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"
ERC20_ADDRESS = "0x1234567890abcdef1234567890abcdef12345678"
THANKS = "Если приложение вам полезно, можно отблагодарить автора переводом любой суммы на один из криптокошельков ниже."
j = Journey()


def open_about():
    app.click([n for n in app.find_all("О программе") if n.role != "label"][0])
    app.find("Версия 1.14", "label")


with j.step("[light] without configured wallets: the version and the developer card, no wallet and no pointer to one"):
    write_preferences(appearanceMode="light")
    app = j.launch()
    open_about()
    app.find("Открыть сайт разработчика")
    shown = [n.name for n in app.find_all()]
    assert not any(n.startswith(("Показать QR-код", "Скопировать адрес", THANKS)) for n in shown), shown

with j.step("[light] the changelog shows as written"):
    app.click("Открыть историю изменений")
    # Qt gives the lines of a text edit to AT-SPI as paragraphs.
    text = app.find("Текст истории изменений").text.replace("\u2029", "\n")
    assert text.startswith("# Changelog\n\n## 1.14 — текущая версия\n") and "\n## Прототип\n" in text, text[:80]
    app.key("Escape")
    app.wait_gone("История изменений", "dialog")

with j.step("[dark] with test addresses: the sentence and a card per wallet; a wallet's QR sheet shows a sharp "
            '280 x 280 code of the address; "Закрыть" closes it'):
    write_preferences(appearanceMode="dark")
    app = j.launch(env={"TALLYPORT_ABOUT_DATA": FAKE_WALLETS})
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
