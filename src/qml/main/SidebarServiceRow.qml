import QtQuick
import QtQuick.Controls
import Tallyport

// A service in the sidebar. Services other than the system one offer
// "Переименовать" and "Удалить" from a context menu: right click, the Menu key
// or Shift+F10. The system service offers nothing.
SidebarRow {
    id: row

    required property string serviceId
    required property string name
    required property bool isSystem

    signal renameRequested()
    signal deleteRequested()

    readonly property bool hasMenu: !isSystem

    // Opens the context menu at (x, y) in the row, or below its icon.
    function openContextMenu(x, y) {
        if (!hasMenu)
            return
        if (x === undefined)
            contextMenu.popup(row, 12, row.height)
        else
            contextMenu.popup(row, x, y)
    }

    text: name
    iconName: isSystem ? "tallyport-no-service-symbolic" : "tallyport-service-symbolic"
    iconSize: 13

    Keys.onMenuPressed: openContextMenu()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier)) {
            openContextMenu()
            event.accepted = true
        }
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: (eventPoint) => row.openContextMenu(eventPoint.position.x, eventPoint.position.y)
    }

    Menu {
        id: contextMenu
        objectName: "serviceContextMenu"

        MenuItem {
            text: "Переименовать"
            onTriggered: row.renameRequested()
        }
        MenuItem {
            text: "Удалить"
            palette.text: Theme.destructiveRed
            palette.windowText: Theme.destructiveRed
            onTriggered: row.deleteRequested()
        }
    }
}
