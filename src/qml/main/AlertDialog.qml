import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// A standard alert: a title, a message and its buttons, modal over the window.
// The main button reports `confirmed`; "Отмена" and Escape only close it.
// However it closes, `dismissed` follows (after `confirmed`, if pressed).
// Controls' Dialog is already an accessible dialog named by its title.
Dialog {
    id: alert

    property string message
    property string acceptText: "ОК"
    // The main button deletes something: drawn in red.
    property bool destructive: false
    property bool cancellable: false

    signal confirmed()
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(400, parent ? parent.width - 48 : 400)
    modal: true
    dim: true
    closePolicy: Popup.CloseOnEscape
    padding: 22
    header: null
    footer: null

    // Return presses the focused button; the safe one has the focus at first.
    onOpened: (cancellable ? cancelButton : acceptButton).forceActiveFocus(Qt.PopupFocusReason)
    onClosed: dismissed()

    component AlertButton: Button {
        id: button
        property color fill
        property color textColor
        Accessible.name: text
        Accessible.onPressAction: clicked()
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()
        focusPolicy: Qt.StrongFocus
        leftPadding: 16
        rightPadding: 16
        topPadding: 8
        bottomPadding: 8
        contentItem: Label {
            text: button.text
            color: button.textColor
            font.pixelSize: Theme.subheadlineSize
            font.weight: Font.DemiBold
            horizontalAlignment: Text.AlignHCenter
            Accessible.ignored: true
        }
        background: Rectangle {
            radius: 10
            color: button.fill
            opacity: button.down ? 0.86 : 1
            border.width: button.visualFocus ? 2 : 0
            border.color: Theme.withOpacity(Theme.primaryBlue, 0.8)
        }
    }

    Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, Theme.dark ? 0.45 : 0.25)
    }

    background: Item {
        Shadow {
            anchors.fill: parent
            blur: 20
            offset: 8
            opacity: 0.22
        }
        Rectangle {
            anchors.fill: parent
            radius: 14
            color: Theme.cardBackground
            border.width: 1
            border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.18)
        }
    }

    contentItem: ColumnLayout {
        spacing: 10

        Label {
            Layout.fillWidth: true
            text: alert.title
            color: Theme.onSurface
            font.pixelSize: Theme.headlineSize + 2
            font.weight: Font.Bold
            wrapMode: Text.WordWrap
        }
        Label {
            Layout.fillWidth: true
            visible: text !== ""
            text: alert.message
            textFormat: Text.PlainText
            color: Theme.onSurfaceVariant
            font.pixelSize: Theme.bodySize
            wrapMode: Text.WordWrap
        }
        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 8
            spacing: 10

            Item { Layout.fillWidth: true }
            AlertButton {
                id: cancelButton
                visible: alert.cancellable
                text: "Отмена"
                fill: Theme.surfaceContainerHighest
                textColor: Theme.onSurface
                onClicked: alert.close()
            }
            AlertButton {
                id: acceptButton
                text: alert.acceptText
                fill: alert.destructive ? Theme.destructiveRed : Theme.primaryBlue
                textColor: "white"
                onClicked: {
                    alert.confirmed()
                    alert.close()
                }
            }
        }
    }
}
