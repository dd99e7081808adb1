import QtQuick
import QtTest
import Tallyport

TestCase {
    id: testCase
    name: "AccountRow"
    width: 1200
    height: 400
    visible: true
    when: windowShown

    Component {
        id: rowComponent
        AccountRow {
            width: 1100
            accountId: "6F1C1E0B-8C53-4D0F-9E59-1D3B2F0A7C11"
            name: "Work"
            hasPassword: true
            recoveryText: "Восстановление: доступно сейчас"
        }
    }
    Component { id: spyComponent; SignalSpy {} }
    TextMetrics { id: metrics }
    SignalSpy { id: spy }

    function makeRow(properties) {
        const row = createTemporaryObject(rowComponent, testCase, properties || {})
        verify(row)
        return row
    }
    function part(row, objectName) {
        const found = findChild(row, objectName)
        verify(found, objectName)
        return found
    }
    function shown(row, objectName) { return part(row, objectName).visible }
    function menuTexts(menu) {
        const texts = []
        for (let i = 0; i < menu.count; ++i)
            texts.push(menu.itemAt(i).text === undefined ? "-" : menu.itemAt(i).text)
        return texts
    }

    // Items keep 8 bits a channel.
    function sameColour(a, b) {
        return Math.abs(a.r - b.r) < 1 / 255 && Math.abs(a.g - b.g) < 1 / 255 && Math.abs(a.b - b.b) < 1 / 255
            && Math.abs(a.a - b.a) < 1 / 255
    }

    function cleanup() { Theme.dark = false }

    function test_controlsPerSituation_data() {
        const menu = ["Редактировать", "Сбросить таймер", "Архивировать", "-", "Удалить"]
        return [
            { tag: "archive list", archive: true, status: "idle",
              shown: ["restoreButton", "deleteForeverButton"], menu: ["Удалить навсегда"] },
            { tag: "idle", archive: false, status: "idle", shown: ["passButton", "noLimitsChip", "useButton"], menu: menu },
            { tag: "active", archive: false, status: "active",
              shown: ["passButton", "noLimitsChip", "countdownChip", "activeChip"], menu: menu },
            { tag: "restored", archive: false, status: "restored",
              shown: ["passButton", "noLimitsChip", "restoredChip", "useAgainButton"], menu: menu },
        ]
    }
    function test_controlsPerSituation(data) {
        const row = makeRow({ isArchiveSection: data.archive, status: data.status, remainingText: "6д 23ч" })
        const all = ["restoreButton", "deleteForeverButton", "passButton", "noLimitsChip", "useButton",
                     "countdownChip", "activeChip", "restoredChip", "useAgainButton"]
        for (const objectName of all)
            compare(shown(row, objectName), data.shown.indexOf(objectName) >= 0, objectName)
        verify(shown(row, "menuButton"))

        row.openMenu()
        verify(row.menu)
        compare(menuTexts(row.menu), data.menu)
        row.menu.close()
        tryCompare(row, "menu", null)
    }

    // What the user typed is drawn as typed: markup in it is text, not formatting.
    function test_nameAndNoteAreDrawnAsTyped() {
        const typed = "Dunst & <b>Co</b>"
        const row = makeRow({ name: typed, note: typed })
        for (const objectName of ["nameText", "noteText"]) {
            const label = part(row, objectName)
            metrics.font = label.font
            metrics.text = typed
            fuzzyCompare(label.contentWidth, metrics.advanceWidth, 1, objectName)
        }
    }

    // A control (or the menu's item at `index`) reports its own signal and no other.
    function test_eachActionReportsItsOwnSignal_data() {
        return [
            { tag: "use", status: "idle", control: "useButton", signal: "use" },
            { tag: "use again", status: "restored", control: "useAgainButton", signal: "useAgain" },
            { tag: "no-limits chip", status: "active", control: "noLimitsChip", signal: "toggleNoLimits" },
            { tag: "restore", archive: true, control: "restoreButton", signal: "restore" },
            { tag: "delete forever", archive: true, control: "deleteForeverButton", signal: "deleteRequested" },
            { tag: "menu: edit", index: 0, signal: "edit" },
            { tag: "menu: reset", index: 1, signal: "reset" },
            { tag: "menu: archive", index: 2, signal: "archive" },
            { tag: "menu: delete", index: 4, signal: "deleteRequested" },
            { tag: "menu: delete forever", archive: true, index: 0, signal: "deleteRequested" },
        ]
    }
    function test_eachActionReportsItsOwnSignal(data) {
        const row = makeRow({ isArchiveSection: data.archive === true, status: data.status || "idle" })
        const spies = {}
        for (const signal of ["use", "useAgain", "edit", "reset", "archive", "restore", "toggleNoLimits",
                              "deleteRequested"])
            spies[signal] = createTemporaryObject(spyComponent, testCase, { target: row, signalName: signal })
        if (data.control) {
            mouseClick(part(row, data.control))
        } else {
            mouseClick(part(row, "menuButton"))
            verify(row.menu)
            tryCompare(row.menu, "opened", true)
            mouseClick(row.menu.itemAt(data.index))
            tryCompare(row, "menu", null)
        }
        for (const signal in spies)
            compare(spies[signal].count, signal === data.signal ? 1 : 0, signal)
    }

    function test_menuOpensFromTheKeyboard_data() {
        return [
            { tag: "menu key", key: Qt.Key_Menu, modifiers: Qt.NoModifier },
            { tag: "shift+F10", key: Qt.Key_F10, modifiers: Qt.ShiftModifier },
        ]
    }
    function test_menuOpensFromTheKeyboard(data) {
        const row = makeRow()
        part(row, "passButton").forceActiveFocus()
        keyClick(data.key, data.modifiers)
        verify(row.menu)
        row.menu.close()
    }

    function test_tabWalksThroughTheRowsControls() {
        const row = makeRow()
        part(row, "passButton").forceActiveFocus()
        for (const next of ["noLimitsChip", "useButton", "menuButton"]) {
            keyClick(Qt.Key_Tab)
            verify(part(row, next).activeFocus, next)
        }
    }

    function test_successfulCopyShowsFeedbackThenReturns() {
        let calls = 0
        const row = makeRow({ copyPassword: () => { ++calls; return true } })
        const button = part(row, "passButton")
        mouseClick(button)
        compare(calls, 1)
        compare(button.text, "Скопировано")
        tryCompare(button, "text", "Скопировать пароль", 5000)
    }

    function test_aLaterCopyDoesNotPostponeTheFirstReset() {
        const row = makeRow({ copyPassword: () => true, copyFeedbackDuration: 50 })
        const button = part(row, "passButton")
        mouseClick(button)
        row.copyFeedbackDuration = 600000
        mouseClick(button)
        compare(button.text, "Скопировано")
        tryCompare(button, "text", "Скопировать пароль", 5000)
    }

    function test_failedCopyKeepsThePlainLabel() {
        let result = true
        const row = makeRow({ copyPassword: () => result, copyFeedbackDuration: 600000 })
        const button = part(row, "passButton")
        mouseClick(button)
        compare(button.text, "Скопировано")
        result = false
        mouseClick(button)
        compare(button.text, "Скопировать пароль")
    }

    function test_emptyPasswordDisablesCopy() {
        let calls = 0
        const row = makeRow({ hasPassword: false, copyPassword: () => { ++calls; return true } })
        const button = part(row, "passButton")
        verify(!button.enabled)
        mouseClick(button)
        compare(calls, 0)
        compare(button.text, "Скопировать пароль")
    }

    function test_noteAndArchivedBadgeShowOnlyWhenSet() {
        const row = makeRow({ note: "" })
        verify(!shown(row, "noteText"))
        verify(!shown(row, "archivedBadge"))
        row.note = "team plan"
        row.isArchived = true
        verify(shown(row, "noteText"))
        verify(shown(row, "archivedBadge"))
    }

    function test_noLimitsChipGlowsRedOnlyWhenSet() {
        const row = makeRow({ hasNoLimits: true })
        const chip = part(row, "noLimitsChip")
        verify(chip.layer.enabled)
        verify(sameColour(chip.contentItem.color, Theme.neonRed))
        row.hasNoLimits = false
        verify(!chip.layer.enabled)
        verify(!sameColour(chip.contentItem.color, Theme.neonRed))
    }

    function test_restoredCardIsPaleGreenWithDarkTextInBothAppearances_data() {
        return [{ tag: "light", dark: false }, { tag: "dark", dark: true }]
    }
    function test_restoredCardIsPaleGreenWithDarkTextInBothAppearances(data) {
        Theme.dark = data.dark
        const row = makeRow({ status: "restored" })
        mouseMove(row, 20, 20)
        tryCompare(row, "isHovered", true)
        verify(sameColour(part(row, "rowBackground").color, Qt.rgba(0.88, 0.97, 0.89, 1)))
        verify(sameColour(part(row, "nameText").color, Qt.rgba(26 / 255, 27 / 255, 31 / 255, 1)))
    }

    function test_onlyDraggableCardsOfferADrag_data() {
        return [{ tag: "draggable", draggable: true }, { tag: "fixed", draggable: false }]
    }
    function test_onlyDraggableCardsOfferADrag(data) {
        const row = makeRow({ isDraggable: data.draggable })
        spy.clear()
        spy.target = row
        spy.signalName = "dragRequested"
        mousePress(row, 300, 30)
        for (let step = 1; step <= 6; ++step)
            mouseMove(row, 300 + step * 10, 30 + step * 4, -1, Qt.LeftButton)
        if (data.draggable)
            spy.wait(3000)
        mouseRelease(row, 360, 54)
        compare(spy.count, data.draggable ? 1 : 0)
    }
}
