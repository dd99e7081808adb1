import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// A centred title and subtitle on a card: empty states and the help header.
Rectangle {
    id: card

    property string title
    property string subtitle

    implicitWidth: column.implicitWidth + 60
    implicitHeight: column.implicitHeight + 60
    radius: 16
    color: Theme.withOpacity(Theme.cardBackground, 0.92)

    ColumnLayout {
        id: column
        anchors.centerIn: parent
        width: Math.min(560, card.width - 60)
        spacing: 10

        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: card.title
            textFormat: Text.PlainText
            color: Theme.onSurface
            font.pixelSize: Theme.title2Size
            font.bold: true
            wrapMode: Text.WordWrap
        }
        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: card.subtitle
            textFormat: Text.PlainText
            color: Theme.onSurfaceVariant
            font.pixelSize: Theme.subheadlineSize
            wrapMode: Text.WordWrap
        }
    }
}
