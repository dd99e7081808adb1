import QtQuick
import Tallyport

// The keyboard focus ring: an outline just outside its parent, in the accent,
// so that it shows on any fill, the accent's own included. Put it in a
// control's background and show it with the control's visualFocus.
Rectangle {
    property real cornerRadius: 8

    anchors.fill: parent
    anchors.margins: -3
    radius: cornerRadius + 3
    color: "transparent"
    border.width: 2
    border.color: Theme.dark ? Qt.rgba(0.45, 0.66, 1, 1) : Theme.primaryBlue
}
