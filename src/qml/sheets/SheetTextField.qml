pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tallyport

// The editors' single-line field: no platform chrome, text on a filled
// rounded box; `outlined` adds the faint accent outline of a required field.
// `caption`, the label drawn above the field, is its accessible description.
TextField {
    id: field

    property bool outlined: false
    property string caption

    // Qt 6.4 makes the placeholder a text field's description when the field
    // completes, over any binding; the caption takes its place afterwards.
    Component.onCompleted: {
        if (caption !== "")
            Accessible.description = caption
    }

    color: Theme.onSurface
    placeholderTextColor: Theme.withOpacity(Theme.onSurfaceVariant, 0.65)
    selectionColor: Theme.withOpacity(Theme.primaryBlue, 0.35)
    selectedTextColor: Theme.onSurface
    font.pixelSize: Theme.bodySize
    leftPadding: 12
    rightPadding: 12
    topPadding: 10
    bottomPadding: 10
    verticalAlignment: TextInput.AlignVCenter
    selectByMouse: true

    cursorDelegate: SheetCaret { control: field }

    background: Rectangle {
        implicitWidth: 160
        radius: 10
        color: Theme.surfaceContainerHighest
        border.width: field.outlined ? 1 : 0
        border.color: Theme.withOpacity(Theme.primaryBlue, 0.2)
    }
}
