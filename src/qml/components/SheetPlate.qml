import QtQuick
import Qt5Compat.GraphicalEffects
import Tallyport

// The background of the About section's sheets: a plain fill with the glass
// card's outline and deep shadow, so the sheet stands off the page in the dark
// appearance too.
Item {
    id: plate

    property color color: Theme.surface
    property real radius: 12

    RectangularGlow {
        anchors.fill: fill
        anchors.topMargin: 16
        anchors.bottomMargin: -16
        glowRadius: 16
        spread: 0
        cornerRadius: plate.radius + glowRadius
        color: Qt.rgba(0, 0, 0, 0.2)
    }

    Rectangle {
        id: fill
        anchors.fill: parent
        radius: plate.radius
        color: plate.color
        border.width: 1
        border.color: Theme.cardStroke
    }
}
