import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The developer's credit line on a card that opens their page. The whole card,
// not only its text, reacts to the pointer: hovering brightens fill and outline.
AbstractButton {
    id: card

    property string developerName
    property string tagline
    readonly property bool isHovered: hovered

    hoverEnabled: true
    padding: 12
    Accessible.role: Accessible.Button
    Accessible.name: "Открыть сайт разработчика"
    Accessible.description: "Разработчик: " + developerName + (tagline !== "" ? ". " + tagline : "")
    Accessible.onPressAction: clicked()

    contentItem: RowLayout {
        spacing: 12

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 3

            Text {
                Layout.fillWidth: true
                text: "Разработчик: " + card.developerName
                color: Theme.onSurface
                font.pixelSize: Theme.subheadlineSize
                font.weight: Font.DemiBold
                elide: Text.ElideRight
            }
            Text {
                Layout.fillWidth: true
                visible: card.tagline !== ""
                text: card.tagline
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.captionSize
                elide: Text.ElideRight
            }
        }
        Icon {
            iconName: "tallyport-open-link-symbolic"
            size: 15
            color: Theme.primaryBlue
        }
    }

    background: Rectangle {
        objectName: "developerCardBackground"
        radius: 12
        color: Theme.withOpacity(Theme.surfaceContainerLow, card.isHovered ? 0.95 : 0.82)
        border.width: 1
        border.color: Theme.withOpacity(Theme.primaryBlue, card.isHovered ? 0.38 : 0.16)

        Behavior on color { ColorAnimation { duration: 150; easing.type: Easing.InOutQuad } }
        Behavior on border.color { ColorAnimation { duration: 150; easing.type: Easing.InOutQuad } }
    }
}
