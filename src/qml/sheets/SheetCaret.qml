import QtQuick
import Tallyport

// The text cursor of the sheet fields: accent-coloured, blinking while the
// field has focus and nothing is selected, steady right after every move.
Rectangle {
    id: caret

    // A TextField or TextArea.
    required property var control

    width: 1.5
    color: Theme.primaryBlue
    visible: control.activeFocus && !control.readOnly && control.selectionStart === control.selectionEnd

    Connections {
        target: caret.control
        function onCursorPositionChanged() {
            caret.opacity = 1
            blink.restart()
        }
    }

    Timer {
        id: blink
        // Qt 6.4's qmllint types Qt.styleHints as a plain QObject.
        running: caret.visible && Qt.styleHints.cursorFlashTime > 0 // qmllint disable type
        repeat: true
        interval: Qt.styleHints.cursorFlashTime / 2 // qmllint disable type
        onTriggered: caret.opacity = caret.opacity > 0 ? 0 : 1
        onRunningChanged: caret.opacity = 1
    }
}
