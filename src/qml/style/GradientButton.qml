import QtQuick
import QtQuick.Controls

// The primary action button: white semibold text on a blue gradient.
Button {
    id: control

    property string iconName: ""

    Accessible.name: text
    Accessible.onPressAction: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
    focusPolicy: Qt.StrongFocus

    leftPadding: 14
    rightPadding: 14
    topPadding: 8
    bottomPadding: 8
    opacity: enabled ? (down ? 0.86 : 1) : 0.5
    scale: down ? 0.98 : 1
    hoverEnabled: true

    Behavior on opacity { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }
    Behavior on scale { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }

    contentItem: Row {
        spacing: 6
        Icon {
            visible: control.iconName !== ""
            iconName: control.iconName
            size: 14
            color: "white"
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: control.text
            color: "white"
            font.pixelSize: Theme.subheadlineSize
            font.weight: Font.DemiBold
            anchors.verticalCenter: parent.verticalCenter
        }
    }

    background: Rectangle {
        radius: 10
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: Theme.primaryBlue }
            GradientStop { position: 1; color: Theme.primaryBlueStrong }
        }
        FocusRing {
            visible: control.visualFocus
            cornerRadius: 10
        }
    }
}
