import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The placeholder shown when there are no accounts at all: a glass card with
// a soft blue glow behind it and the button that adds the first account.
Item {
    id: view

    signal add()

    implicitWidth: card.implicitWidth
    implicitHeight: Math.max(card.implicitHeight, glow.height)

    // A 300-point disc blurred by 95 points: a radial fade reaching 95 past its
    // edge, in the primary blue from 20 % at the centre. A small picture of it,
    // stretched: the fade has no detail to lose.
    Image {
        id: glow
        anchors.centerIn: parent
        width: 300 + 2 * 95
        height: width
        source: "../style/empty-state-halo.png"
        smooth: true
    }

    GlassCard {
        id: card
        anchors.centerIn: parent
        padding: 36
        width: Math.min(460, view.width)

        ColumnLayout {
            width: card.width - 2 * card.padding
            spacing: 20

            Rectangle {
                Layout.alignment: Qt.AlignHCenter
                implicitWidth: 90
                implicitHeight: 90
                radius: 45
                color: Theme.withOpacity(Theme.surfaceContainerHigh, 0.7)

                Icon {
                    anchors.centerIn: parent
                    iconName: "folder-symbolic"
                    size: 40
                    color: Theme.withOpacity(Theme.onSurfaceVariant, 0.5)
                }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 8

                Label {
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    text: "Нет аккаунтов"
                    color: Theme.onSurface
                    font.pixelSize: 36
                    font.bold: true
                    wrapMode: Text.Wrap
                }
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    Layout.maximumWidth: 360
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    text: "Добавьте аккаунт OpenAI, чтобы отслеживать недельные лимиты."
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.bodySize
                    wrapMode: Text.Wrap
                }
            }
            GradientButton {
                Layout.alignment: Qt.AlignHCenter
                text: "Добавить первый аккаунт"
                iconName: "tallyport-add-circle-symbolic"
                onClicked: view.add()
            }
        }
    }
}
