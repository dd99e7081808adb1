import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The summary of the selected service above its accounts: charged and
// charging counts and, while a countdown runs, the nearest restore.
Rectangle {
    id: card

    property string name
    property int restoredCount
    property int activeCount
    property string nextResetText

    implicitWidth: column.implicitWidth + 36
    implicitHeight: column.implicitHeight + 36
    radius: 14
    color: Theme.surfaceContainerLow

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 18
        spacing: 8

        Label {
            Layout.fillWidth: true
            text: card.name
            textFormat: Text.PlainText
            color: Theme.onSurface
            font.pixelSize: Theme.title2Size
            font.bold: true
            wrapMode: Text.Wrap
        }
        RowLayout {
            spacing: 14

            LabelChip {
                objectName: "restoredChip"
                text: "Заряжены: " + card.restoredCount
                tint: Theme.successGreen
            }
            LabelChip {
                objectName: "activeChip"
                text: "Заряжаются: " + card.activeCount
                tint: Theme.primaryBlue
            }
            Label {
                objectName: "nextResetText"
                visible: card.nextResetText !== ""
                text: "Ближайшее: " + card.nextResetText
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.subheadlineSize
            }
        }
    }
}
