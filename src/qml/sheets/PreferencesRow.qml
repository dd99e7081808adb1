import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// One setting of the preferences sheet: its label on the left, its controls
// on the right. Without a label the controls take the whole row (a switch
// that carries its own text). `divider` draws the line above the row.
Control {
    id: row

    property string label
    property bool divider: true
    default property alias controls: holder.data

    Layout.fillWidth: true
    leftPadding: 14
    rightPadding: 14
    topPadding: 12
    bottomPadding: 12

    contentItem: RowLayout {
        spacing: 12

        Label {
            Layout.fillWidth: true
            visible: row.label !== ""
            text: row.label
            color: Theme.onSurface
            font.pixelSize: Theme.bodySize
            elide: Text.ElideRight
        }
        RowLayout {
            id: holder
            Layout.fillWidth: row.label === ""
            spacing: 10
        }
    }

    Rectangle {
        visible: row.divider
        x: 14
        width: row.width - 28
        height: 1
        color: Theme.withOpacity(Theme.onSurfaceVariant, 0.14)
    }
}
