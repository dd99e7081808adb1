import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// One row of the sidebar: an icon and a title on a rounded background that
// shows whether the row is selected or under a drag. Tab reaches it; Space and
// Return press it.
Button {
    id: row

    property string iconName
    property real iconSize: 14
    property bool selected: false
    property bool dropTarget: false

    // A drop target wins over the selection.
    readonly property color contentColor: selected || dropTarget ? Theme.primaryBlue : Theme.onSurfaceVariant
    readonly property color backgroundColor: dropTarget ? Theme.withOpacity(Theme.primaryBlue, 0.18)
                                            : selected ? Theme.withOpacity(Theme.cardBackground, 0.9)
                                            : "transparent"

    Accessible.name: text
    Accessible.onPressAction: clicked()
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    focusPolicy: Qt.StrongFocus
    leftPadding: 12
    rightPadding: 12
    topPadding: 10
    bottomPadding: 10
    leftInset: 0
    rightInset: 0
    topInset: 0
    bottomInset: 0

    contentItem: RowLayout {
        spacing: 10

        Item {
            implicitWidth: 18
            implicitHeight: row.iconSize
            Icon {
                anchors.centerIn: parent
                iconName: row.iconName
                size: row.iconSize
                color: row.contentColor
            }
        }
        Label {
            Layout.fillWidth: true
            text: row.text
            textFormat: Text.PlainText
            color: row.contentColor
            elide: Text.ElideRight
            maximumLineCount: 1
            font.pixelSize: Theme.subheadlineSize
            font.weight: row.selected ? Font.DemiBold : Font.Normal
            Accessible.ignored: true
        }
    }

    background: Rectangle {
        radius: 10
        color: row.backgroundColor
        border.width: row.visualFocus ? 2 : 0
        border.color: Theme.withOpacity(Theme.primaryBlue, 0.7)
    }
}
