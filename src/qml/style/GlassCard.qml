import QtQuick

// The glass card: a nearly opaque card with a faint outline and a soft,
// deep shadow. Put content inside; `padding` insets it.
Item {
    id: card

    default property alias content: body.data
    property real padding: 0
    property real radius: 16

    implicitWidth: body.childrenRect.width + 2 * padding
    implicitHeight: body.childrenRect.height + 2 * padding

    Shadow {
        anchors.fill: plate
        blur: 16
        offset: 16
        opacity: 0.2
    }

    Rectangle {
        id: plate
        anchors.fill: parent
        radius: card.radius
        color: Theme.withOpacity(Theme.cardBackground, 0.98)
        border.width: 1
        border.color: Theme.withOpacity(Theme.cardStroke, 0.35)
    }

    Item {
        id: body
        anchors.fill: parent
        anchors.margins: card.padding
    }
}
