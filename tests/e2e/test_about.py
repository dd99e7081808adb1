# The About journey, in the light and the dark appearance: the version, the
# developer card and the four wallet cards; a wallet without an address opens
# no QR sheet; the changelog as written; and, with a test file of made-up
# addresses (TALLYPORT_ABOUT_DATA), a wallet's sharp 280 x 280 QR code.
import os
import subprocess
import sys

from tallyport_ui import Journey, write_preferences

FAKE_WALLETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "about", "fake-wallets.json")
TON_ADDRESS = "UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"
j = Journey()


def open_about():
    app.click([n for n in app.find_all("О программе") if n.role != "label"][0])
    app.find("Версия 1.14", "label")


def scroll_to(name):
    """The element, scrolling the About section down until it shows."""
    for _ in range(10):
        if app.find_all(name):
            return app.find(name)
        app.click(app.find_all(contains="Показать QR-код ")[-1], button=5)   # the wheel, down
    raise AssertionError("%r not found below: %s" % (name, app.names()))


with j.step("[light] the About section shows the version, the developer card and the wallets without addresses"):
    write_preferences(appearanceMode="light")
    app = j.launch()
    open_about()
    app.find("Открыть сайт разработчика")
    assert app.find_all("Адрес появится в следующей версии"), app.texts()
    j.screenshot("about-light")
    for title in ("Toncoin TON", "USDT TON", "USDT ERC20", "USDT TRC20"):
        scroll_to("Скопировать адрес " + title)

with j.step("[light] a wallet without an address opens no QR sheet; the changelog shows as written; no QML warnings"):
    # The disabled button ignores the click; the changelog button, clicked
    # next, would be behind a modal sheet if one had opened.
    app.click(scroll_to("Показать QR-код USDT TRC20"))
    app.click(scroll_to("Открыть историю изменений"))
    app.find("Текущая версия: 1.14", "label")
    assert not app.find_all("USDT TRC20", "dialog"), app.names()
    # Qt gives the lines of a text edit to AT-SPI as paragraphs.
    text = app.find("Текст истории изменений").text.replace("\u2029", "\n")
    assert text.startswith("# Changelog\n\n## 1.14 — текущая версия\n"), text[:80]
    for heading in ("## 1.12", "## 1.05 — ключевая веха", "## Прототип"):
        assert "\n%s\n" % heading in text, heading
    j.screenshot("changelog-light")
    app.key("Escape")
    app.wait_gone("История изменений", "dialog")
    assert not app.qml_warnings(), "\n".join(app.qml_warnings())

with j.step("[dark] with test addresses, a wallet's QR sheet shows a sharp 280 x 280 code of the address"):
    write_preferences(appearanceMode="dark")
    app = j.launch(env={"TALLYPORT_ABOUT_DATA": FAKE_WALLETS})
    open_about()
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

with j.step('[dark] the QR sheet closes with "Закрыть"'):
    app.click("Закрыть")
    app.wait_gone("Toncoin TON", "dialog")

sys.exit(j.finish())
