import QtQuick
import QtTest
import Tallyport

TestCase {
    id: testCase
    name: "ServiceEditor"
    when: windowShown
    width: 800
    height: 600

    Component {
        id: sheetComponent
        ServiceEditorSheet {}
    }
    Component {
        id: spyComponent
        SignalSpy {}
    }

    function openSheet(currentName) {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        if (currentName === undefined)
            sheet.openForAdd()
        else
            sheet.openForRename(currentName)
        tryCompare(sheet, "opened", true)
        return sheet
    }

    function spy(target, signalName) {
        return createTemporaryObject(spyComponent, testCase, { target: target, signalName: signalName })
    }

    function child(sheet, objectName) {
        const found = findChild(sheet.contentItem, objectName)
        verify(found, objectName)
        return found
    }

    function test_modeSetsTheStart_data() {
        return [
            { tag: "add", current: undefined, text: "", enabled: false },
            { tag: "rename", current: "ChatGPT", text: "ChatGPT", enabled: true }
        ]
    }

    function test_modeSetsTheStart(data) {
        const sheet = openSheet(data.current)
        const field = child(sheet, "serviceNameField")
        compare(field.text, data.text)
        verify(field.activeFocus)
        compare(child(sheet, "saveButton").enabled, data.enabled)
    }

    function test_saveHandsOverTheNameAsTyped_data() {
        return [
            { tag: "blank", typed: "   ", saved: false },
            { tag: "line breaks", typed: "\n\t", saved: false },
            { tag: "surrounded", typed: "  Gemini  ", saved: true }
        ]
    }

    function test_saveHandsOverTheNameAsTyped(data) {
        const sheet = openSheet()
        const saved = spy(sheet, "saved")
        child(sheet, "serviceNameField").text = data.typed
        compare(child(sheet, "saveButton").enabled, data.saved)
        keyClick(Qt.Key_Return)
        compare(saved.count, data.saved ? 1 : 0)
        if (data.saved)
            compare(saved.signalArguments[0][0], data.typed)
        mouseClick(child(sheet, "saveButton"))
        compare(saved.count, data.saved ? 2 : 0)
        verify(sheet.opened, "the owner closes the sheet")
    }

    function test_typedTextReachesTheSheet() {
        const sheet = openSheet("Old")
        const saved = spy(sheet, "saved")
        keyClick(Qt.Key_End)
        keyClick(Qt.Key_X)
        keyClick(Qt.Key_Enter)
        compare(saved.signalArguments[0][0], "Oldx")
    }

    function test_escapeAndCancelReportACancel() {
        const sheet = openSheet("Claude")
        const cancelled = spy(sheet, "cancelled")
        const saved = spy(sheet, "saved")
        keyClick(Qt.Key_Escape)
        compare(cancelled.count, 1)
        mouseClick(child(sheet, "cancelButton"))
        compare(cancelled.count, 2)
        compare(saved.count, 0)
    }
}
