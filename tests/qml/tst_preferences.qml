import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 1100
    height: 820

    Component { id: sheetComponent; PreferencesSheet {} }

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
            const fake = { previews: [], commits: [], reverts: [], exports: [], imports: [], autostartText: "Выключен",
                           applied: (p) => p, fetchNotificationStatus: () => {} }
            fake.preview = (p) => { fake.previews.push(p); return fake.applied(Object.assign({}, p)) }
            fake.commit = (p) => fake.commits.push(p)
            fake.cancelRevert = (p) => fake.reverts.push(p)
            fake.fetchAutostartStatus = () => fake.autostartText
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

        // Closing without saving reverts to the opening values, or to those an
        // import adopted; saving commits what the preview put in effect (launch
        // at login stays off here). The preferences journey uses the buttons.
        function test_closingRevertsOrCommits_data() {
            return [
                { tag: "Escape", commit: false }, { tag: "Return", commit: true },
                { tag: "Escape after an import", commit: false, adopted: { appearanceMode: "dark", showSeconds: false } }
            ]
        }

        function test_closingRevertsOrCommits(data) {
            const fake = fakeCallbacks()
            fake.applied = (p) => Object.assign(p, { autoLaunchAtStartup: false })
            fake.autostartText = "Недоступен"
            const sheet = openSheet(fake)
            const autoLaunch = control(sheet, "autoLaunchSwitch")
            control(sheet, "timerFormatCombo").activated(1) // a pick; the index itself follows the draft
            mouseClick(autoLaunch)
            compare(fake.previews[1].autoLaunchAtStartup, true)
            compare(sheet.draft.autoLaunchAtStartup, false)
            verify(!autoLaunch.checked)
            compare(sheet.autostartStatus, "Недоступен")
            const opening = Object.assign(defaults(), data.adopted)
            if (data.adopted) {
                sheet.adopt(opening)
                verify(!control(sheet, "showSecondsSwitch").checked)
            }
            keyClick(data.commit ? Qt.Key_Return : Qt.Key_Escape)
            tryCompare(sheet, "visible", false)
            compare(fake.reverts, data.commit ? [] : [opening])
            compare(fake.commits, data.commit ? [Object.assign(defaults(), { timerFormat: "full" })] : [])
        }

        // Typing filters the zones; the pick stores the identifier and shows
        // the title. Reopened, the filter is empty and the list starts at the
        // current entry: two steps up is the system zone again.
        function test_timeZonePickerFiltersAndStoresIdentifiers() {
            const fake = fakeCallbacks()
            const sheet = openSheet(fake)
            const button = control(sheet, "timezoneButton")
            const picker = control(sheet, "timezonePicker")
            compare(button.text, "Системный")
            const picks = [{ keys: [[Qt.Key_M, Qt.ShiftModifier], [Qt.Key_O], [Qt.Key_S]], matches: 1, zone: zones[2] },
                           { keys: [[Qt.Key_Up], [Qt.Key_Up]], matches: 3, zone: { id: "", title: "Системный" } }]
            for (const pick of picks) {
                mouseClick(button)
                tryCompare(picker, "opened", true)
                for (const key of pick.keys)
                    keyClick(...key)
                compare(picker.matches.length, pick.matches)
                keyClick(Qt.Key_Return)
                tryCompare(picker, "visible", false)
                compare(sheet.draft.timezoneIdentifier, pick.zone.id)
                compare(button.text, pick.zone.title)
            }
            compare(fake.previews.length, 2)
        }

        // Only the action hands the password over, exactly as typed (blanks
        // count); however the sheet closes, the password is forgotten. The
        // preferences journey submits by the button.
        function test_backupSheetsHandOverAndForget_data() {
            return [
                { tag: "export cancelled", sheet: "export", close: "escape", exports: [], imports: [] },
                { tag: "import, merging", sheet: "import", close: "return", password: "   ", mode: 1, exports: [],
                  imports: [{ password: "   ", mode: "merge" }] },
                { tag: "import cancelled", sheet: "import", close: "cancel", exports: [], imports: [] }
            ]
        }

        function test_backupSheetsHandOverAndForget(data) {
            const fake = fakeCallbacks()
            const sheet = openSheet(fake)
            const backup = control(sheet, data.sheet + "Sheet")
            mouseClick(control(sheet, data.sheet + "Button"))
            tryCompare(backup, "opened", true)
            if (data.mode !== undefined)
                control(backup, "modeCombo").activated(data.mode)
            control(backup, "passwordField").password = data.password || " pass word "
            if (data.close === "cancel")
                mouseClick(control(backup, "cancelButton"))
            else
                keyClick(data.close === "escape" ? Qt.Key_Escape : Qt.Key_Return)
            tryCompare(backup, "visible", false)
            compare(backup.password, "")
            compare(fake.exports, data.exports)
            compare(fake.imports, data.imports)
            verify(sheet.visible)
        }
    }
}
