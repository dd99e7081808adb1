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

    Component { id: sheetComponent; AccountEditorSheet {} }
    Component { id: spyComponent; SignalSpy {} }
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
            how === "add" ? sheet.openForAdd(list, arg) : sheet.openForEdit(list, arg)
            tryCompare(sheet, "opened", true)
            return sheet
        }

        function child(sheet, objectName) {
            const found = findChild(sheet.contentItem, objectName)
            verify(found, objectName)
            return found
        }

        function test_initialService_data() {
            const gone = "9A9A9A9A-0000-4000-8000-000000000000"
            return [
                { tag: "add, default gone", how: "add", preferred: gone, expected: root.systemId, shown: "Без сервиса" },
                { tag: "edit, service gone", how: "edit", preferred: gone, expected: root.systemId, shown: "Без сервиса" },
                { tag: "edit, service gone, no system service", how: "edit", list: root.services.slice(1),
                  preferred: gone, expected: root.chatId, shown: "ChatGPT" },
                { tag: "empty list", how: "add", list: [], preferred: root.chatId, expected: root.systemId, shown: "" }
            ]
        }

        function test_initialService(data) {
            const sheet = openSheet(data.how, data.list || root.services,
                                    data.how === "add" ? data.preferred : account({ serviceId: data.preferred }))
            compare(sheet.serviceId, data.expected)
            compare(child(sheet, "servicePicker").currentText, data.shown)
        }

        function test_manualResetStartsFromTheAccount_data() {
            return [
                { tag: "add", how: "add", resetAt: null },
                { tag: "edit, idle", how: "edit", resetAt: null },
                { tag: "edit, counting down", how: "edit", resetAt: new Date(2031, 4, 6, 9, 30, 0) }
            ]
        }

        function test_manualResetStartsFromTheAccount(data) {
            const before = Date.now()
            const sheet = openSheet(data.how, root.services,
                                    data.how === "add" ? root.systemId : account({ resetAt: data.resetAt }))
            const after = Date.now()
            compare(child(sheet, "manualResetSwitch").checked, data.resetAt !== null)
            compare(child(sheet, "resetPicker").visible, data.resetAt !== null)
            if (data.resetAt)
                compare(sheet.manualResetAt.getTime(), data.resetAt.getTime())
            else
                verify(sheet.manualResetAt >= before + root.week && sheet.manualResetAt <= after + root.week)
        }

        // The draft holds every field as typed; switching the manual moment
        // off keeps the moment, for the switch back on.
        function test_editHandsBackTheWholeDraft_data() {
            return [{ tag: "manual moment kept on", switchOff: false }, { tag: "manual moment switched off", switchOff: true }]
        }

        function test_editHandsBackTheWholeDraft(data) {
            const resetAt = new Date(2031, 0, 1, 12, 0)
            const sheet = openSheet("edit", root.services,
                                    account({ hasNoLimits: true, resetAt: resetAt, note: " n ", password: " p " }))
            const saved = createTemporaryObject(spyComponent, root, { target: sheet, signalName: "saved" })
            mouseClick(child(sheet, "noLimitsSwitch"))
            if (data.switchOff)
                mouseClick(child(sheet, "manualResetSwitch"))
            compare(child(sheet, "resetPicker").visible, !data.switchOff)
            child(sheet, "nameField").text = " Новое имя "
            keyClick(Qt.Key_Return)
            compare(saved.count, 1)
            const draft = Object.assign({}, saved.signalArguments[0][0])
            draft.manualResetAt = draft.manualResetAt.getTime()
            compare(draft, { accountId: "0D3F6A8E-1111-4B2C-8D3E-000000000001", serviceId: root.chatId,
                             name: " Новое имя ", note: " n ", password: " p ", hasNoLimits: false,
                             manualResetEnabled: !data.switchOff, manualResetAt: resetAt.getTime() })
        }

        // The same sheet, reopened, shows nothing of what was typed or switched before.
        function test_reopeningStartsAfresh() {
            const resetAt = new Date(2031, 0, 1)
            const sheet = openSheet("edit", root.services, account({ resetAt: resetAt }))
            const reopen = open => {
                sheet.close()
                tryCompare(sheet, "visible", false)
                open()
                tryCompare(sheet, "opened", true)
            }
            child(sheet, "newServiceField").text = "half-typed"
            mouseClick(child(sheet, "manualResetSwitch"))
            reopen(() => sheet.openForAdd(root.services, root.claudeId))
            compare([sheet.accountId, child(sheet, "nameField").text, child(sheet, "newServiceField").text], ["", "", ""])
            compare(sheet.manualResetEnabled, false)
            compare(sheet.serviceId, root.claudeId)
            reopen(() => sheet.openForEdit(root.services, account({ resetAt: resetAt })))
            verify(child(sheet, "manualResetSwitch").checked && child(sheet, "resetPicker").visible)
        }
    }

    TestCase {
        name: "DateTimePicker"
        when: windowShown

        function makePicker(value) {
            return createTemporaryObject(pickerComponent, root, { value: value })
        }

        function segment(picker, name) {
            const walk = item => item.accessibleName === name ? item
                                                              : Array.prototype.map.call(item.children, walk).find(f => f)
            const found = walk(picker)
            verify(found, name)
            return found
        }

        // Typed digits fill a segment and move on, at once when no second digit could follow.
        // Rows name a segment by its first word; moments are in 2026 unless given as [year, month, ...].
        function test_typingAndArrows_data() {
            const digits = text => Array.from(text).map(c => Qt.Key_0 + Number(c))
            return [
                { tag: "typed throughout", segment: "День", keys: digits("280220270745"), from: [2, 9, 14, 5, 33],
                  to: [2027, 1, 28, 7, 45], focused: "Минуты" },
                { tag: "a digit that cannot start two", segment: "Час", keys: digits("7"), from: [2, 9, 14, 5],
                  to: [2, 9, 7, 5], focused: "Минуты" },
                { tag: "minute up past 59", segment: "Минуты", keys: [Qt.Key_Up], from: [2, 9, 14, 59], to: [2, 9, 14, 0] },
                { tag: "hour down past 0", segment: "Час", keys: [Qt.Key_Down], from: [2, 9, 0, 10], to: [2, 9, 23, 10] },
                { tag: "day up past the month's end", segment: "День", keys: [Qt.Key_Up], from: [1, 28, 8], to: [1, 1, 8] },
                { tag: "month up keeps a day that fits", segment: "Месяц", keys: [Qt.Key_Up], from: [11, 15, 8], to: [0, 15, 8] },
                { tag: "month change shortens the day", segment: "Месяц", keys: [Qt.Key_Up], from: [0, 31, 8], to: [1, 28, 8] }
            ]
        }

        function test_typingAndArrows(data) {
            const moment = parts => parts[0] > 11 ? new Date(...parts) : new Date(2026, ...parts)
            const picker = makePicker(moment(data.from))
            segment(picker, data.segment + " восстановления").forceActiveFocus()
            for (const key of data.keys)
                keyClick(key)
            compare(picker.value, moment(data.to))
            if (data.focused)
                verify(segment(picker, data.focused + " восстановления").activeFocus)
        }

        // The calendar starts its weeks on Monday, with the month's first day
        // in its weekday's column; a picked day keeps the time.
        function test_calendarPicksTheDayUnderThePointer_data() {
            return [
                { tag: "month from a Sunday", shown: new Date(2026, 2, 9, 14, 5), cell: 6, day: new Date(2026, 2, 1) },
                { tag: "month from a Monday", shown: new Date(2026, 5, 30, 8, 0), cell: 0, day: new Date(2026, 5, 1) },
                { tag: "the previous month's tail", shown: new Date(2027, 0, 10, 23, 59), cell: 0,
                  day: new Date(2026, 11, 28) },
                { tag: "the next month's head", shown: new Date(2026, 2, 9, 14, 5), cell: 41, day: new Date(2026, 3, 5) }
            ]
        }

        function test_calendarPicksTheDayUnderThePointer(data) {
            const picker = makePicker(data.shown)
            mouseClick(findChild(picker, "calendarButton"))
            let days = null
            tryVerify(() => (days = findChild(picker.Window.contentItem, "calendarDays")) !== null && days.visible)
            const cells = Array.prototype.filter.call(days.children, child => child.date !== undefined)
            compare(cells.length, 42)
            compare(cells[0].date.getDay(), 1)
            mouseClick(cells[data.cell])
            compare(picker.value, new Date(data.day.getFullYear(), data.day.getMonth(), data.day.getDate(),
                                           data.shown.getHours(), data.shown.getMinutes()))
        }
    }
}
