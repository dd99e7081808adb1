import QtQuick
import Tallyport

// The background of the About section's sheets: a plain fill with the glass
// card's outline and deep shadow, so the sheet stands off the page in the dark
// appearance too.
Item {
    id: plate

    property color color: Theme.surface
    property real radius: 12

    Shadow {
        anchors.fill: fill
        blur: 16
        offset: 16
        opacity: 0.2
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
