import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 900
    height: 900

    readonly property string systemId: "00000000-0000-0000-0000-000000000001"
    readonly property string chatId: "6F1B3C52-8A0E-4C5B-9C0E-2D0B7A1E0C01"
    readonly property string claudeId: "6F1B3C52-8A0E-4C5B-9C0E-2D0B7A1E0C02"
    readonly property var services: [
        { serviceId: systemId, name: "Без сервиса", isSystem: true },
        { serviceId: chatId, name: "ChatGPT", isSystem: false },
        { serviceId: claudeId, name: "Claude", isSystem: false }
    ]
    readonly property real week: 604800 * 1000

    Component {
        id: sheetComponent
        AccountEditorSheet {}
    }
    Component {
        id: spyComponent
        SignalSpy {}
    }
    Component {
        id: pickerComponent
        DateTimePicker {
            width: 420
            label: "Дата и время восстановления"
            onEdited: (moment) => value = moment
        }
    }

    TestCase {
        id: editor
        name: "AccountEditor"
        when: windowShown

        function account(fields) {
            return Object.assign({ accountId: "0D3F6A8E-1111-4B2C-8D3E-000000000001", serviceId: root.chatId,
                                   name: "Рабочий", note: "заметка", password: "secret", hasNoLimits: false,
                                   resetAt: null }, fields)
        }

        function openSheet(how, list, arg) {
            const sheet = createTemporaryObject(sheetComponent, root)
            if (how === "add")
                sheet.openForAdd(list, arg)
            else
                sheet.openForEdit(list, arg)
            tryCompare(sheet, "opened", true)
            return sheet
        }

        function spy(target, signalName) {
            return createTemporaryObject(spyComponent, root, { target: target, signalName: signalName })
        }

        function child(sheet, objectName) {
            const found = findChild(sheet.contentItem, objectName)
            verify(found, objectName)
            return found
        }

        function test_saveFollowsTheTrimmedName_data() {
            return [
                { tag: "empty", name: "", enabled: false },
                { tag: "spaces", name: "   ", enabled: false },
                { tag: "newlines and tabs", name: "\n \t\n", enabled: false },
                { tag: "surrounded", name: "  Основной ключ \n", enabled: true }
            ]
        }

        function test_saveFollowsTheTrimmedName(data) {
            const sheet = openSheet("add", root.services, root.systemId)
            const saved = spy(sheet, "saved")
            const field = child(sheet, "nameField")
            verify(field.activeFocus, "the name field takes the focus")
            field.text = data.name
            compare(child(sheet, "saveButton").enabled, data.enabled)

            keyClick(Qt.Key_Return)
            compare(saved.count, data.enabled ? 1 : 0)
            if (data.enabled)
                compare(saved.signalArguments[0][0].name, data.name)
            verify(sheet.opened, "the sheet stays open until its owner closes it")
        }

        function test_returnInTheNoteSaves() {
            const sheet = openSheet("add", root.services, root.systemId)
            const saved = spy(sheet, "saved")
            sheet.accountName = "Имя"
            child(sheet, "noteField").area.forceActiveFocus()
            keyClick(Qt.Key_Return)
            compare(saved.count, 1)
            keyClick(Qt.Key_Return, Qt.ShiftModifier)
            compare(saved.count, 1)
            compare(sheet.note, "\n")
        }

        function test_escapeAndCancelReportACancel() {
            const sheet = openSheet("edit", root.services, account({}))
            const cancelled = spy(sheet, "cancelled")
            const saved = spy(sheet, "saved")
            keyClick(Qt.Key_Escape)
            compare(cancelled.count, 1)
            verify(sheet.opened)
            child(sheet, "passwordField").forceActiveFocus()
            keyClick(Qt.Key_Escape)
            compare(cancelled.count, 2)
            compare(saved.count, 0)
        }

        function test_initialService_data() {
            const noSystem = root.services.slice(1)
            return [
                { tag: "add, default listed", how: "add", list: root.services, preferred: root.claudeId,
                  expected: root.claudeId, shown: "Claude" },
                { tag: "add, system default", how: "add", list: root.services, preferred: root.systemId,
                  expected: root.systemId, shown: "Без сервиса" },
                { tag: "add, default gone", how: "add", list: root.services, preferred: "9A9A9A9A-0000-4000-8000-000000000000",
                  expected: root.systemId, shown: "Без сервиса" },
                { tag: "edit, service listed", how: "edit", list: root.services, preferred: root.chatId,
                  expected: root.chatId, shown: "ChatGPT" },
                { tag: "edit, service gone", how: "edit", list: root.services, preferred: "9A9A9A9A-0000-4000-8000-000000000000",
                  expected: root.systemId, shown: "Без сервиса" },
                { tag: "edit, service gone, no system service", how: "edit", list: noSystem,
                  preferred: "9A9A9A9A-0000-4000-8000-000000000000", expected: root.chatId, shown: "ChatGPT" },
                { tag: "empty list", how: "add", list: [], preferred: root.chatId, expected: root.systemId, shown: "" }
            ]
        }

        function test_initialService(data) {
            const sheet = openSheet(data.how, data.list,
                                    data.how === "add" ? data.preferred : account({ serviceId: data.preferred }))
            compare(sheet.serviceId, data.expected)
            compare(child(sheet, "servicePicker").currentText, data.shown)
        }

        function test_pickerChangesTheService() {
            const sheet = openSheet("add", root.services, root.systemId)
            const saved = spy(sheet, "saved")
            const picker = child(sheet, "servicePicker")
            picker.forceActiveFocus()
            keyClick(Qt.Key_Down)
            compare(picker.currentText, "ChatGPT")
            sheet.accountName = "x"
            sheet.requestSave()
            compare(saved.signalArguments[0][0].serviceId, root.chatId)
        }

        function test_createServiceFromTheForm_data() {
            return [
                { tag: "created", answer: "6F1B3C52-8A0E-4C5B-9C0E-2D0B7A1E0C09", typed: "  Gemini \n" },
                { tag: "refused", answer: "", typed: " Claude " }
            ]
        }

        function test_createServiceFromTheForm(data) {
            const sheet = openSheet("add", root.services, root.chatId)
            const asked = []
            sheet.createService = name => { asked.push(name); return data.answer }
            const field = child(sheet, "newServiceField")
            const button = child(sheet, "createServiceButton")
            field.text = data.typed
            verify(button.enabled)
            mouseClick(button)

            compare(asked, [data.typed.trim()])
            if (data.answer) {
                compare(sheet.serviceId, data.answer)
                compare(child(sheet, "servicePicker").currentText, "Gemini")
                compare(field.text, "")
                verify(!button.enabled)
            } else {
                compare(sheet.serviceId, root.chatId)
                compare(field.text, data.typed)
            }
        }

        function test_manualResetStartsFromTheAccount_data() {
            const ahead = new Date(2031, 4, 6, 9, 30, 0)
            const past = new Date(2020, 0, 2, 3, 4, 0)
            return [
                { tag: "add", how: "add", resetAt: null, on: false },
                { tag: "edit, idle", how: "edit", resetAt: null, on: false },
                { tag: "edit, counting down", how: "edit", resetAt: ahead, on: true },
                { tag: "edit, restored with a past moment", how: "edit", resetAt: past, on: true }
            ]
        }

        function test_manualResetStartsFromTheAccount(data) {
            const before = Date.now()
            const sheet = openSheet(data.how, root.services,
                                    data.how === "add" ? root.systemId : account({ resetAt: data.resetAt }))
            const after = Date.now()
            compare(sheet.manualResetEnabled, data.on)
            compare(child(sheet, "manualResetSwitch").checked, data.on)
            compare(child(sheet, "resetPicker").visible, data.on)
            if (data.resetAt) {
                compare(sheet.manualResetAt.getTime(), data.resetAt.getTime())
            } else {
                verify(sheet.manualResetAt.getTime() >= before + root.week)
                verify(sheet.manualResetAt.getTime() <= after + root.week)
            }
        }

        function test_switchingOffKeepsTheMoment() {
            const sheet = openSheet("add", root.services, root.systemId)
            const saved = spy(sheet, "saved")
            const toggle = child(sheet, "manualResetSwitch")
            const picker = child(sheet, "resetPicker")
            mouseClick(toggle)
            verify(sheet.manualResetEnabled)
            verify(picker.visible)
            const chosen = new Date(2030, 6, 14, 18, 45)
            picker.edited(chosen)
            mouseClick(toggle)
            verify(!picker.visible)
            compare(sheet.manualResetAt.getTime(), chosen.getTime())
            mouseClick(toggle)
            verify(picker.visible)
            compare(picker.value.getTime(), chosen.getTime())

            sheet.accountName = "x"
            mouseClick(toggle)
            sheet.requestSave()
            const draft = saved.signalArguments[0][0]
            compare(draft.manualResetEnabled, false)
            compare(draft.manualResetAt.getTime(), chosen.getTime())
        }

        function test_editHandsBackTheWholeDraft() {
            const resetAt = new Date(2031, 0, 1, 12, 0)
            const sheet = openSheet("edit", root.services,
                                    account({ hasNoLimits: true, resetAt: resetAt, note: " n ", password: " p " }))
            const saved = spy(sheet, "saved")
            compare(child(sheet, "noLimitsSwitch").checked, true)
            mouseClick(child(sheet, "noLimitsSwitch"))
            child(sheet, "nameField").text = " Новое имя "
            keyClick(Qt.Key_Return)
            compare(saved.count, 1)
            const draft = saved.signalArguments[0][0]
            compare(draft.accountId, "0D3F6A8E-1111-4B2C-8D3E-000000000001")
            compare(draft.serviceId, root.chatId)
            compare(draft.name, " Новое имя ")
            compare(draft.note, " n ")
            compare(draft.password, " p ")
            compare(draft.hasNoLimits, false)
            compare(draft.manualResetEnabled, true)
            compare(draft.manualResetAt.getTime(), resetAt.getTime())
        }

        function test_reopeningStartsAfresh() {
            const resetAt = new Date(2031, 0, 1)
            const sheet = openSheet("edit", root.services, account({ resetAt: resetAt }))
            child(sheet, "newServiceField").text = "half-typed"
            mouseClick(child(sheet, "manualResetSwitch"))
            sheet.close()
            tryCompare(sheet, "visible", false)
            sheet.openForAdd(root.services, root.claudeId)
            tryCompare(sheet, "opened", true)
            compare(sheet.accountId, "")
            compare(child(sheet, "nameField").text, "")
            compare(child(sheet, "newServiceField").text, "")
            compare(sheet.manualResetEnabled, false)
            compare(sheet.serviceId, root.claudeId)

            sheet.close()
            tryCompare(sheet, "visible", false)
            sheet.openForEdit(root.services, account({ resetAt: resetAt }))
            tryCompare(sheet, "opened", true)
            verify(child(sheet, "manualResetSwitch").checked)
            verify(child(sheet, "resetPicker").visible)
        }
    }

    TestCase {
        name: "DateTimePicker"
        when: windowShown

        function makePicker(value) {
            const picker = createTemporaryObject(pickerComponent, root, { value: value })
            verify(picker)
            return picker
        }

        function segment(picker, accessibleName) {
            const walk = item => {
                for (let i = 0; i < item.children.length; ++i) {
                    const c = item.children[i]
                    if (c.accessibleName === accessibleName)
                        return c
                    const found = walk(c)
                    if (found)
                        return found
                }
                return null
            }
            const found = walk(picker)
            verify(found, accessibleName)
            return found
        }

        function test_typedDigitsFillTheSegmentsInTurn() {
            const picker = makePicker(new Date(2026, 2, 9, 14, 5, 33))
            segment(picker, "День восстановления").forceActiveFocus()
            for (const key of [Qt.Key_2, Qt.Key_8, Qt.Key_0, Qt.Key_2, Qt.Key_2, Qt.Key_0, Qt.Key_2, Qt.Key_7,
                               Qt.Key_0, Qt.Key_7, Qt.Key_4, Qt.Key_5])
                keyClick(key)
            compare(picker.value, new Date(2027, 1, 28, 7, 45, 0))
        }

        function test_aDigitThatCannotStartTwoMovesOn() {
            const picker = makePicker(new Date(2026, 2, 9, 14, 5))
            const hour = segment(picker, "Час восстановления")
            hour.forceActiveFocus()
            keyClick(Qt.Key_7)
            compare(picker.hour, 7)
            verify(segment(picker, "Минуты восстановления").activeFocus)
        }

        function test_arrowsWrapWithinTheSegment_data() {
            return [
                { tag: "minute up past 59", segment: "Минуты восстановления", key: Qt.Key_Up,
                  from: new Date(2026, 2, 9, 14, 59), to: new Date(2026, 2, 9, 14, 0) },
                { tag: "hour down past 0", segment: "Час восстановления", key: Qt.Key_Down,
                  from: new Date(2026, 2, 9, 0, 10), to: new Date(2026, 2, 9, 23, 10) },
                { tag: "day up past the month's end", segment: "День восстановления", key: Qt.Key_Up,
                  from: new Date(2026, 1, 28, 8, 0), to: new Date(2026, 1, 1, 8, 0) },
                { tag: "month up keeps a day that fits", segment: "Месяц восстановления", key: Qt.Key_Up,
                  from: new Date(2026, 11, 15, 8, 0), to: new Date(2026, 0, 15, 8, 0) },
                { tag: "month change shortens the day", segment: "Месяц восстановления", key: Qt.Key_Up,
                  from: new Date(2026, 0, 31, 8, 0), to: new Date(2026, 1, 28, 8, 0) }
            ]
        }

        function test_arrowsWrapWithinTheSegment(data) {
            const picker = makePicker(data.from)
            segment(picker, data.segment).forceActiveFocus()
            keyClick(data.key)
            compare(picker.value, data.to)
        }
    }
}
