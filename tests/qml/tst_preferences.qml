import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 1100
    height: 820

    Component {
        id: sheetComponent
        PreferencesSheet {}
    }

    TestCase {
        id: tc
        name: "PreferencesSheet"
        when: windowShown

        readonly property var zones: [
            { id: "__system__", title: "Системный" },
            { id: "Europe/London", title: "GMT+00:00 — Великобритания (Europe/London)" },
            { id: "Europe/Moscow", title: "GMT+03:00 — Москва (Europe/Moscow)" }
        ]

        function defaults() {
            return { appearanceMode: "system", timerFormat: "compact", showSeconds: true,
                     autoLaunchAtStartup: false, timezoneIdentifier: "", notificationsOnRestore: true,
                     keepRunningInBackground: true }
        }

        // The window's side, recording every call; `applied` turns a preview
        // request into what is in effect (identity unless a test says otherwise).
        function fakeCallbacks() {
            const fake = {
                previews: [], commits: [], reverts: [], exports: [], imports: [],
                statusWaiters: [], permissionWaiters: [], settingsOpened: 0,
                autostartText: "Выключен",
                applied: (p) => p
            }
            fake.preview = (p) => { fake.previews.push(p); return fake.applied(Object.assign({}, p)) }
            fake.commit = (p) => fake.commits.push(p)
            fake.cancelRevert = (p) => fake.reverts.push(p)
            fake.fetchAutostartStatus = () => fake.autostartText
            fake.fetchNotificationStatus = (done) => fake.statusWaiters.push(done)
            fake.requestNotificationPermission = (done) => fake.permissionWaiters.push(done)
            fake.openNotificationSettings = () => fake.settingsOpened++
            fake.exportBackup = (password) => fake.exports.push(password)
            fake.importBackup = (password, mode) => fake.imports.push({ password: password, mode: mode })
            return fake
        }

        function openSheet(fake, initial) {
            const sheet = createTemporaryObject(sheetComponent, root, {
                callbacks: fake, initial: initial || defaults(), timezoneOptions: zones
            })
            sheet.open()
            tryCompare(sheet, "opened", true)
            return sheet
        }

        function control(sheet, name) {
            const found = findChild(sheet, name)
            verify(found, "no " + name)
            return found
        }

        // What a pick in the list does; the index itself follows the draft.
        function choose(combo, index) {
            combo.activated(index)
        }

        // Closing without saving reverts to the opening values; saving commits
        // what the preview put in effect (launch at login stays off here).
        function test_closingRevertsOrCommits_data() {
            return [
                { tag: "Отмена", commit: false }, { tag: "Escape", commit: false },
                { tag: "click outside", commit: false }, { tag: "Сохранить", commit: true },
                { tag: "Return", commit: true }
            ]
        }

        function test_closingRevertsOrCommits(data) {
            const fake = fakeCallbacks()
            fake.applied = (p) => Object.assign(p, { autoLaunchAtStartup: false })
            fake.autostartText = "Недоступен"
            const sheet = openSheet(fake)
            const autoLaunch = control(sheet, "autoLaunchSwitch")
            choose(control(sheet, "timerFormatCombo"), 1)
            mouseClick(autoLaunch)
            compare(fake.previews[1].autoLaunchAtStartup, true)
            compare(sheet.draft.autoLaunchAtStartup, false)
            verify(!autoLaunch.checked)
            compare(sheet.autostartStatus, "Недоступен")

            if (data.tag === "Отмена")
                mouseClick(control(sheet, "cancelButton"))
            else if (data.tag === "Escape")
                keyClick(Qt.Key_Escape)
            else if (data.tag === "click outside")
                mouseClick(root, 5, 5)
            else if (data.tag === "Return")
                keyClick(Qt.Key_Return)
            else
                mouseClick(control(sheet, "saveButton"))

            tryCompare(sheet, "visible", false)
            compare(fake.reverts, data.commit ? [] : [defaults()])
            compare(fake.commits, data.commit ? [Object.assign(defaults(), { timerFormat: "full" })] : [])
        }

        function test_adoptedPreferencesAreWhatCancelReturnsTo() {
            const fake = fakeCallbacks()
            const sheet = openSheet(fake)
            choose(control(sheet, "timerFormatCombo"), 1)
            const imported = Object.assign(defaults(), { appearanceMode: "dark", showSeconds: false })

            sheet.adopt(imported)
            compare(control(sheet, "appearanceCombo").displayText, "Ночь")
            compare(control(sheet, "timerFormatCombo").displayText, "Компактный")
            verify(!control(sheet, "showSecondsSwitch").checked)
            keyClick(Qt.Key_Escape)

            tryCompare(sheet, "visible", false)
            compare(fake.reverts, [imported])
        }

        function test_timeZonePickerFiltersAndStoresIdentifiers() {
            const fake = fakeCallbacks()
            const sheet = openSheet(fake)
            const button = control(sheet, "timezoneButton")
            const picker = control(sheet, "timezonePicker")
            compare(button.text, "Системный")

            mouseClick(button)
            tryCompare(picker, "opened", true)
            compare(picker.matches.length, 3)
            keyClick(Qt.Key_M, Qt.ShiftModifier)
            keyClick(Qt.Key_O)
            keyClick(Qt.Key_S)
            compare(picker.matches.length, 1)
            keyClick(Qt.Key_Return)
            tryCompare(picker, "visible", false)
            compare(sheet.draft.timezoneIdentifier, "Europe/Moscow")
            compare(button.text, "GMT+03:00 — Москва (Europe/Moscow)")

            // Back to the system zone by keyboard: the list starts at the current entry.
            mouseClick(button)
            tryCompare(picker, "opened", true)
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Up)
            keyClick(Qt.Key_Return)
            tryCompare(picker, "visible", false)
            compare(sheet.draft.timezoneIdentifier, "")
            compare(button.text, "Системный")
            compare(fake.previews.length, 2)
        }

        function test_backupActionsNeedAPassword_data() {
            return [
                { tag: "export, empty", sheet: "exportSheet", password: "", enabled: false },
                { tag: "export, spaces", sheet: "exportSheet", password: "   ", enabled: true },
                { tag: "import, empty", sheet: "importSheet", password: "", enabled: false },
                { tag: "import, one letter", sheet: "importSheet", password: "a", enabled: true }
            ]
        }

        function test_backupActionsNeedAPassword(data) {
            const sheet = openSheet(fakeCallbacks())
            const backup = control(sheet, data.sheet)
            backup.open()
            tryCompare(backup, "opened", true)
            const submit = control(backup, "submitButton")
            verify(!submit.enabled)
            for (const c of data.password)
                keyClick(c === " " ? Qt.Key_Space : Qt.Key_A)
            compare(backup.password, data.password)
            compare(submit.enabled, data.enabled)
        }

        // A backup sheet hands over what was typed, as typed, with the import's
        // mode, and forgets the password however it closes; the mode stays.
        function test_backupSheetsHandOverAndForget_data() {
            return [
                { tag: "export", sheet: "exportSheet", button: "exportButton", close: "submit",
                  exports: [" pass word "], imports: [] },
                { tag: "export cancelled", sheet: "exportSheet", button: "exportButton", close: "escape",
                  exports: [], imports: [] },
                { tag: "import, merging", sheet: "importSheet", button: "importButton", close: "return", mode: 1,
                  exports: [], imports: [{ password: " pass word ", mode: "merge" }] },
                { tag: "import cancelled", sheet: "importSheet", button: "importButton", close: "cancel", mode: 1,
                  exports: [], imports: [] }
            ]
        }

        function test_backupSheetsHandOverAndForget(data) {
            const fake = fakeCallbacks()
            const sheet = openSheet(fake)
            const backup = control(sheet, data.sheet)
            for (let round = 0; round < 2; ++round) {
                mouseClick(control(sheet, data.button))
                tryCompare(backup, "opened", true)
                compare(backup.password, "")
                if (data.mode !== undefined && round === 0)
                    choose(control(backup, "modeCombo"), data.mode)
                control(backup, "passwordField").password = " pass word "
                verify(/^([^ pasword])\1{10}$/.test(control(backup, "passwordField").text), "masked")
                if (data.close === "submit")
                    mouseClick(control(backup, "submitButton"))
                else if (data.close === "cancel")
                    mouseClick(control(backup, "cancelButton"))
                else
                    keyClick(data.close === "escape" ? Qt.Key_Escape : Qt.Key_Return)
                tryCompare(backup, "visible", false)
                compare(fake.exports, data.exports.concat(round ? data.exports : []))
                compare(fake.imports, data.imports.concat(round ? data.imports : []))
                verify(sheet.visible)
            }
        }
    }
}
