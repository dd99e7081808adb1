pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tallyport

// The editors' multi-line field: the same look as SheetTextField, always two
// lines high; longer text scrolls inside. Return is left to the sheet (it
// saves), Shift+Return starts a new line, Tab moves on instead of inserting.
ScrollView {
    id: box

    property alias text: area.text
    property alias placeholderText: area.placeholderText
    property alias area: area
    property string accessibleName
    property string accessibleDescription
    readonly property int lines: 2

    signal returnPressed()

    implicitHeight: Math.ceil(metrics.lineSpacing * lines) + area.topPadding + area.bottomPadding
    contentWidth: availableWidth
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

    // The focus goes to the text inside, never to the scroll view.
    onActiveFocusChanged: if (activeFocus) area.forceActiveFocus()

    FontMetrics {
        id: metrics
        font: area.font
    }

    TextArea {
        id: area

        color: Theme.onSurface
        placeholderTextColor: Theme.withOpacity(Theme.onSurfaceVariant, 0.65)
        selectionColor: Theme.withOpacity(Theme.primaryBlue, 0.35)
        selectedTextColor: Theme.onSurface
        font.pixelSize: Theme.bodySize
        wrapMode: TextEdit.Wrap
        leftPadding: 12
        rightPadding: 12
        topPadding: 10
        bottomPadding: 10
        selectByMouse: true

        cursorDelegate: SheetCaret { control: area }
        Accessible.name: box.accessibleName
        // As in SheetTextField: after Qt 6.4 has given it the placeholder.
        Component.onCompleted: {
            if (box.accessibleDescription !== "")
                Accessible.description = box.accessibleDescription
        }

        background: Rectangle {
            radius: 10
            color: Theme.surfaceContainerHighest
        }

        Keys.onReturnPressed: (event) => box.handleReturn(event)
        Keys.onEnterPressed: (event) => box.handleReturn(event)
        Keys.onTabPressed: nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
        Keys.onBacktabPressed: nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
    }

    function handleReturn(event) {
        if (event.modifiers & Qt.ShiftModifier) {
            event.accepted = false
            return
        }
        returnPressed()
    }
}
