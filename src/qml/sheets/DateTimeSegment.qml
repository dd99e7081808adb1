import QtQuick
import Tallyport

// One number of DateTimePicker (day, month, year, hour or minute). Focused,
// it takes digits (the value follows as they are typed; focus moves on once
// the number is complete) and Up/Down, which wrap within from..to.
Rectangle {
    id: segment

    property int value
    property int from
    property int to
    property int digits: 2
    property string accessibleName
    // Digits typed since the segment got the focus, not yet a whole number.
    property string typed: ""

    signal picked(int value)
    signal completed()
    signal leftRequested()
    signal rightRequested()

    function step(delta) {
        typed = ""
        const span = to - from + 1
        picked(from + ((value - from + delta) % span + span) % span)
    }

    function typeDigit(digit) {
        const text = typed + digit
        const number = parseInt(text, 10)
        const whole = text.length >= digits || number * 10 > to
        if (number >= from && number <= to)
            picked(number)
        else if (whole)
            picked(Math.max(from, Math.min(to, number)))
        typed = whole ? "" : text
        if (whole)
            completed()
    }

    implicitWidth: label.implicitWidth + 6
    implicitHeight: label.implicitHeight + 4
    radius: 4
    color: activeFocus ? Theme.primaryBlue : "transparent"
    activeFocusOnTab: true

    onActiveFocusChanged: if (!activeFocus) typed = ""

    Text {
        id: label
        anchors.centerIn: parent
        text: segment.typed !== "" ? segment.typed : String(segment.value).padStart(segment.digits, "0")
        color: segment.activeFocus ? "white" : Theme.onSurface
        font.pixelSize: Theme.bodySize
    }

    TapHandler {
        onTapped: segment.forceActiveFocus(Qt.MouseFocusReason)
    }

    Keys.onUpPressed: step(1)
    Keys.onDownPressed: step(-1)
    Keys.onLeftPressed: leftRequested()
    Keys.onRightPressed: rightRequested()
    Keys.onPressed: (event) => {
        if (event.key >= Qt.Key_0 && event.key <= Qt.Key_9) {
            typeDigit(event.key - Qt.Key_0)
            event.accepted = true
        } else if (event.key === Qt.Key_Backspace) {
            typed = ""
            event.accepted = true
        }
    }

    Accessible.role: Accessible.SpinBox
    Accessible.name: accessibleName
    Accessible.description: label.text
    Accessible.focusable: true
    Accessible.onIncreaseAction: step(1)
    Accessible.onDecreaseAction: step(-1)
}
