import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// One donation wallet: logo and title, the address, and the copy and QR
// buttons.
Item {
    id: card

    property string title
    property string address
    property string logoFileName
    property color accent: Theme.primaryBlue

    signal copyRequested(string address)
    signal qrRequested()

    implicitWidth: column.implicitWidth + 32
    implicitHeight: column.implicitHeight + 32

    Shadow {
        anchors.fill: plate
        blur: 8
        offset: 6
        opacity: 0.16
    }

    Rectangle {
        id: plate
        anchors.fill: parent
        radius: 14
        color: Theme.withOpacity(Theme.cardBackground, 0.95)
        border.width: 1
        border.color: Theme.withOpacity(card.accent, 0.28)
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 16
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            Rectangle {
                implicitWidth: 30
                implicitHeight: 30
                radius: 8
                color: "white"
                border.width: 1
                border.color: Theme.withOpacity(card.accent, 0.35)

                WalletBrandIcon {
                    objectName: "brandIcon"
                    anchors.fill: parent
                    fileName: card.logoFileName
                }
            }
            Label {
                Layout.fillWidth: true
                text: card.title
                color: Theme.onSurface
                font.pixelSize: Theme.headlineSize
                font.weight: Font.DemiBold
                elide: Text.ElideRight
            }
        }

        TextEdit {
            objectName: "addressText"
            Layout.fillWidth: true
            text: card.address
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.WrapAnywhere
            color: Theme.onSurfaceVariant
            selectionColor: Theme.withOpacity(Theme.primaryBlue, 0.3)
            selectedTextColor: Theme.onSurface
            font.family: "monospace"
            font.pixelSize: Theme.subheadlineSize
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        RowLayout {
            spacing: 8

            Button {
                id: copyButton
                objectName: "copyButton"
                text: "Скопировать"
                hoverEnabled: true
                leftPadding: 12
                rightPadding: 12
                topPadding: 7
                bottomPadding: 7
                Accessible.name: "Скопировать адрес " + card.title
                Accessible.onPressAction: clicked()
                onClicked: card.copyRequested(card.address)

                contentItem: Text {
                    text: copyButton.text
                    color: Theme.onSurface
                    font.pixelSize: Theme.subheadlineSize
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: 8
                    color: copyButton.down ? Theme.surfaceContainerHighest
                                           : copyButton.hovered ? Theme.surfaceContainerHigh : Theme.surfaceContainerLow
                    border.width: 1
                    border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.3)
                }
            }
            GradientButton {
                objectName: "qrButton"
                text: "QR"
                Accessible.name: "Показать QR-код " + card.title
                onClicked: card.qrRequested()
            }
        }
    }
}
