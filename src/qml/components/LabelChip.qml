import QtQuick
import Tallyport

// A small capsule label: the text in its colour on a 12 % tint of it.
Rectangle {
    id: chip

    property string text
    property color tint: Theme.primaryBlue

    implicitWidth: label.implicitWidth + 20
    implicitHeight: label.implicitHeight + 12
    radius: height / 2
    color: Theme.withOpacity(tint, 0.12)

    Accessible.role: Accessible.StaticText
    Accessible.name: text

    Text {
        id: label
        anchors.centerIn: parent
        text: chip.text
        color: chip.tint
        font.pixelSize: Theme.captionSize
        font.weight: Font.DemiBold
        Accessible.ignored: true
    }
}
