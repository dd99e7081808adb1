import QtQuick
import QtQuick.Controls
import Tallyport

// A switch row of the editor forms: the text on the left, the switch at the
// right edge, drawn in the palette so it follows the appearance.
Switch {
    id: control

    leftPadding: 0
    rightPadding: 0
    topPadding: 4
    bottomPadding: 4
    spacing: 12
    font.pixelSize: Theme.bodySize

    Accessible.onPressAction: {
        toggle()
        toggled()
    }
    Accessible.onToggleAction: {
        toggle()
        toggled()
    }

    indicator: Rectangle {
        x: control.width - width - control.rightPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        implicitWidth: 38
        implicitHeight: 22
        radius: height / 2
        color: control.checked ? Theme.primaryBlue : Theme.withOpacity(Theme.onSurfaceVariant, 0.3)
        border.width: control.visualFocus ? 2 : 0
        border.color: Theme.primaryBlueStrong

        Behavior on color { ColorAnimation { duration: 120 } }

        Rectangle {
            width: parent.height - 4
            height: width
            radius: width / 2
            y: 2
            x: control.checked ? parent.width - width - 2 : 2
            color: "white"

            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.InOutQuad } }
        }
    }

    contentItem: Text {
        text: control.text
        color: Theme.onSurface
        font: control.font
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
        rightPadding: control.indicator.width + control.spacing
    }
}
