"""The About section: its cards, the changelog sheet and a wallet's QR sheet,
in the light and the dark appearance.

The shipped wallets have no addresses yet, so their copy and QR buttons are
disabled; the QR sheet is shown with a test data file of made-up addresses
(TALLYPORT_ABOUT_DATA).

tests/e2e/session -- /usr/bin/python3 tests/e2e/test_about.py build/src/tallyport
"""
import os
import shutil
import subprocess
import sys

from tallyport_ui import Scenario

HERE = os.path.dirname(os.path.abspath(__file__))
FAKE_WALLETS = os.path.join(HERE, "..", "data", "about", "fake-wallets.json")
TON_ADDRESS = "UQAtallyport_TEST_wallet_NOT_REAL_do_not_send_00"
WALLETS = ["Toncoin TON", "USDT TON", "USDT ERC20", "USDT TRC20"]
MISSING_ADDRESS = "Адрес появится в следующей версии"


def set_appearance(mode):
    """Stores the preferences with only the appearance set (the rest default)."""
    path = os.path.join(os.environ["XDG_CONFIG_HOME"], "org.tallyport.Tallyport.conf")
    with open(path, "w") as f:
        f.write('[General]\npreferences=@ByteArray({\\"appearanceMode\\":\\"%s\\"})\n' % mode)


def colours(png, crop=None):
    """The distinct colours of a PNG, or of the (x, y, w, h) part of it."""
    x, y, w, h = crop or (0, 0, 0, 0)
    args = ["convert", png] + (["-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage"] if crop else []) + \
           ["-format", "%c", "histogram:info:-"]
    out = subprocess.run(args, capture_output=True, text=True, check=True).stdout
    return [line.split("#")[1].split()[0] for line in out.splitlines() if "#" in line]


def open_about(app):
    row = [n for n in app.find_all("О программе") if n.role != "label"]
    assert row, "no sidebar row \"О программе\": %s" % app.names()
    app.click(row[0])
    app.wait_for("Версия 1.14", role="label")


def scroll_to(app, name, role=None):
    """The element, scrolling the About section down until it shows."""
    for _ in range(10):
        if app.find_all(name, role):
            return app.find(name, role)
        app.click(app.find_all(contains="Показать QR-код ")[-1], button=5)   # the wheel, down
    raise AssertionError("%r not found below: %s" % (name, app.names()))


def changelog_text(app):
    # Qt gives the lines of a text edit to AT-SPI as paragraphs.
    return app.find("Текст истории изменений").text.replace("\u2029", "\n")


s = Scenario()

for appearance in ("light", "dark"):
    with s.step("[%s] the About section shows the version, the developer card and four wallet cards" % appearance):
        set_appearance(appearance)
        app = s.launch()
        open_about(app)
        app.wait_for("О программе", role="label")
        app.wait_for("Открыть сайт разработчика")
        app.wait_for("Открыть историю изменений")
        assert app.find_all(MISSING_ADDRESS), app.texts()
        s.screenshot("about-" + appearance)
        for title in WALLETS:
            scroll_to(app, title, role="label")
            scroll_to(app, "Скопировать адрес " + title)

    with s.step("[%s] a wallet without an address opens no QR sheet" % appearance):
        # The disabled button ignores the click; the changelog button, clicked
        # next, would be behind a modal sheet if one had opened.
        app.click(scroll_to(app, "Показать QR-код USDT TRC20"))
        app.click(scroll_to(app, "Открыть историю изменений"))
        app.wait_for("История изменений", role="dialog")
        assert not app.find_all("USDT TRC20", role="dialog"), app.names()

    with s.step("[%s] the changelog shows the text as written and closes with Escape" % appearance):
        app.wait_for("Текущая версия: 1.14", role="label")
        text = changelog_text(app)
        assert text.startswith("# Changelog\n"), text[:80]
        for heading in ("## 1.14 — текущая версия", "## 1.12", "## 1.05 — ключевая веха", "## Прототип"):
            assert "\n%s\n" % heading in text, heading
        s.screenshot("changelog-" + appearance)
        app.key("Escape")
        app.wait_gone("История изменений", role="dialog")

    with s.step("[%s] no QML warnings from the About section and its sheets" % appearance):
        ours = ("AboutSection", "WalletCard", "WalletBrandIcon", "DeveloperLinkCard", "SheetPlate",
                "ChangelogSheet", "WalletQrSheet")
        problems = [line for line in app.log().splitlines() if any(name + ".qml" in line for name in ours)]
        assert not problems, "\n".join(problems)

    with s.step("[%s] with test addresses, a wallet's QR sheet shows a sharp 280 x 280 code" % appearance):
        app = s.launch(env={"TALLYPORT_ABOUT_DATA": FAKE_WALLETS})
        open_about(app)
        app.wait_for(TON_ADDRESS)
        app.click("Показать QR-код Toncoin TON")
        app.wait_for("Toncoin TON", role="dialog")
        image = app.wait_for("QR-код адреса Toncoin TON")
        x, y, w, h = image.extents
        assert (w, h) == (280, 280), "QR image is %dx%d" % (w, h)
        shot = s.screenshot("qr-" + appearance)
        wx, wy, _, _ = app.window().extents
        found = sorted(colours(shot, (x - wx, y - wy, w, h)))
        assert found == ["000000", "FFFFFF"], "QR colours %s" % found[:10]
        if shutil.which("zbarimg"):   # optional: decode what is on screen
            decoded = subprocess.run(["zbarimg", "-q", "--raw", shot], capture_output=True, text=True).stdout
            assert decoded.strip() == TON_ADDRESS, "decoded %r" % decoded

    with s.step("[%s] the QR sheet closes with \"Закрыть\"" % appearance):
        app.click("Закрыть")
        app.wait_gone("Toncoin TON", role="dialog")

sys.exit(s.finish())
