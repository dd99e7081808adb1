"""The window opens, shows the application's name and version, renders and closes.

tests/e2e/session -- /usr/bin/python3 tests/e2e/test_smoke.py build/src/tallyport
"""
import signal
import subprocess
import sys

from tallyport_ui import Scenario

MIN_WIDTH, MIN_HEIGHT = 1060, 720


def colours(png):
    return int(subprocess.run(["identify", "-format", "%k", png], capture_output=True, text=True,
                              check=True).stdout)


s = Scenario()

with s.step("window appears on the accessibility bus as Tallyport"):
    app = s.launch()
    assert app.name == "Tallyport", "application name %r" % app.name

with s.step("window is at least %dx%d" % (MIN_WIDTH, MIN_HEIGHT)):
    _, _, width, height = app.window().extents
    assert width >= MIN_WIDTH and height >= MIN_HEIGHT, "window is %dx%d" % (width, height)

with s.step('shows "Tallyport" and "1.14" as labels'):
    app.wait_for("Tallyport", role="label")
    app.wait_for("1.14", role="label")

with s.step("window renders (the screenshot is more than a plain background)"):
    # the accessible tree can be complete a moment before the first frame is drawn
    app.wait_until(lambda: colours(s.screenshot("main")) > 16, lambda: "a drawn window in the screenshot")

with s.step("no QML warnings on start"):
    problems = [line for line in app.log().splitlines() if "qrc:/" in line or "QML" in line]
    assert not problems, "\n".join(problems)

with s.step("quits on SIGTERM"):
    code = app.quit()
    assert code in (0, -signal.SIGTERM), "exit code %s" % code

sys.exit(s.finish())
