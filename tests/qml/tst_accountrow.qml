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

    readonly property string longName: "Общий аккаунт отдела исследований и разработки для длинных документов, "
                                       + "отчётов и переписки с партнёрами"

    Component {
        id: rowComponent
        AccountRow {
            name: "Work"
            hasPassword: true
            recoveryText: "Восстановление: доступно сейчас"
        }
    }

    function part(row, objectName) {
        const found = findChild(row, objectName)
        verify(found, objectName)
        return found
    }
    // Every drawn text of `item`, as {text, rect in the row}.
    function drawnTexts(row, item, found) {
        for (let i = 0; i < item.children.length; ++i) {
            const child = item.children[i]
            if (!child.visible || child.opacity === 0)
                continue
            if (child.text !== undefined && child.contentWidth !== undefined && child.text !== "")
                found.push({ text: child.text, rect: child.mapToItem(row, 0, 0, Math.min(child.width, child.contentWidth),
                                                                    child.height) })
            drawnTexts(row, child, found)
        }
        return found
    }

    // No drawn text lies over another, the row grows with a wrapping name,
    // and the note is elided only when it does not fit the room left to it.
    function test_textsNeverOverlap_data() {
        return [
            { tag: "short name, short note", width: 1100, name: "Work", note: "рабочий аккаунт" },
            { tag: "long name, archived", width: 1100, name: testCase.longName, note: "без лимитов", archived: true,
              archive: true, wraps: true },
            { tag: "narrow, long note", width: 620, name: "research", note: testCase.longName, elided: true },
            { tag: "narrow, long name", width: 620, name: testCase.longName, note: "заметка", wraps: true },
        ]
    }
    function test_textsNeverOverlap(data) {
        const row = createTemporaryObject(rowComponent, testCase, {
            width: data.width, note: data.note, isArchived: data.archived === true,
            isArchiveSection: data.archive === true, status: "active", remainingText: "6д 23ч" })
        waitForRendering(row)
        const oneLine = row.implicitHeight
        row.name = data.name
        waitForRendering(row)
        const name = part(row, "nameText")
        const note = part(row, "noteText")
        compare(name.lineCount > 1, data.wraps === true)
        compare(row.implicitHeight > oneLine, data.wraps === true)
        compare(note.truncated, data.elided === true)
        if (note.truncated)
            verify(note.implicitWidth > note.width)

        const texts = drawnTexts(row, row, [])
        verify(texts.length >= 4)
        for (let i = 0; i < texts.length; ++i) {
            const a = texts[i].rect
            verify(a.x >= 0 && a.y >= 0 && a.x + a.width <= row.width && a.y + a.height <= row.height, texts[i].text)
            for (let j = i + 1; j < texts.length; ++j) {
                const b = texts[j].rect
                verify(a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y,
                       texts[i].text + " over " + texts[j].text)
            }
        }
    }
}
