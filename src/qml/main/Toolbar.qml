import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The bar across the top of the right column: the search field and the
// refresh, settings and add buttons, at its right end, each with its keyboard
// shortcut (named in its tooltip). What it shows depends on the destination;
// what it does is reported by signals.
Item {
    id: toolbar

    // The destination: a section's raw value, unless a service is selected.
    property string section: "all"
    property bool serviceSelected: false
    property string searchText: ""

    signal searchEdited(string text)
    signal refreshRequested()
    signal preferencesRequested()
    signal addRequested()

    readonly property bool searchShown: serviceSelected || (section !== "support" && section !== "about")
    readonly property bool addShown: serviceSelected || section === "all" || section === "active"
    readonly property string searchPlaceholder: !serviceSelected && section === "history"
                                                ? "Поиск по истории..." : "Поиск аккаунтов..."

    function focusSearch() {
        if (!searchShown)
            return
        searchField.forceActiveFocus(Qt.ShortcutFocusReason)
        searchField.selectAll()
    }

    // The height does not change with the controls shown.
    implicitHeight: searchBox.implicitHeight + 24

    component PlainIconButton: Button {
        id: iconButton
        property string iconName
        property alias shortcut: shortcut.sequence
        Accessible.onPressAction: clicked()
        Keys.onReturnPressed: clicked()
        Keys.onEnterPressed: clicked()
        focusPolicy: Qt.StrongFocus
        padding: 6
        ToolTip.text: Accessible.name + " (" + shortcut.nativeText + ")"
        ToolTip.visible: hovered
        ToolTip.delay: 600
        Shortcut {
            id: shortcut
            onActivated: iconButton.clicked()
        }
        contentItem: Icon {
            iconName: iconButton.iconName
            size: 17
            color: Theme.onSurfaceVariant
        }
        background: Rectangle {
            radius: 8
            color: iconButton.down ? Theme.withOpacity(Theme.onSurfaceVariant, 0.12) : "transparent"
            border.width: iconButton.visualFocus ? 2 : 0
            border.color: Theme.withOpacity(Theme.primaryBlue, 0.7)
        }
    }

    // A shadow falling on the content below the bar: black fading out over 16.
    Rectangle {
        anchors.top: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        height: 16
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.rgba(0, 0, 0, 0.17) }
            GradientStop { position: 0.45; color: Qt.rgba(0, 0, 0, 0.05) }
            GradientStop { position: 1; color: "transparent" }
        }
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.withOpacity(Theme.surfaceContainerLow, 0.94)
    }

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 1
        color: Theme.cardStroke
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 18
        anchors.rightMargin: 18
        anchors.topMargin: 12
        anchors.bottomMargin: 12
        spacing: 12

        Item { Layout.fillWidth: true }

        Rectangle {
            id: searchBox
            visible: toolbar.searchShown
            implicitWidth: 360
            implicitHeight: searchRow.implicitHeight + 16
            radius: 10
            color: Theme.surfaceContainerHighest
            ToolTip.text: "Поиск (" + findShortcut.nativeText + ")"
            ToolTip.visible: searchHover.hovered
            ToolTip.delay: 600

            TapHandler {
                onTapped: searchField.forceActiveFocus(Qt.MouseFocusReason)
            }
            HoverHandler { id: searchHover }
            Shortcut {
                id: findShortcut
                // Qt 6.4's qmllint does not know StandardKey.
                sequence: StandardKey.Find // qmllint disable unqualified
                enabled: toolbar.searchShown
                onActivated: toolbar.focusSearch()
            }

            RowLayout {
                id: searchRow
                anchors.fill: parent
                anchors.leftMargin: 10
                anchors.rightMargin: 10
                anchors.topMargin: 8
                anchors.bottomMargin: 8
                spacing: 8

                Icon {
                    iconName: "system-search-symbolic"
                    size: 14
                    color: Theme.onSurfaceVariant
                }
                TextField {
                    id: searchField
                    objectName: "searchField"
                    Layout.fillWidth: true
                    Accessible.name: "Поиск"
                    text: toolbar.searchText
                    placeholderText: toolbar.searchPlaceholder
                    placeholderTextColor: Theme.withOpacity(Theme.onSurfaceVariant, 0.75)
                    color: Theme.onSurface
                    selectionColor: Theme.withOpacity(Theme.primaryBlue, 0.35)
                    selectedTextColor: Theme.onSurface
                    font.pixelSize: Theme.bodySize
                    selectByMouse: true
                    padding: 0
                    background: null
                    onTextEdited: toolbar.searchEdited(text)
                }
            }
        }

        PlainIconButton {
            objectName: "refreshButton"
            iconName: "view-refresh-symbolic"
            shortcut: "F5"
            Accessible.name: "Обновить"
            onClicked: toolbar.refreshRequested()
        }

        PlainIconButton {
            objectName: "settingsButton"
            iconName: "emblem-system-symbolic"
            shortcut: "Ctrl+,"
            Accessible.name: "Настройки"
            onClicked: toolbar.preferencesRequested()
        }

        GradientButton {
            id: addButton
            objectName: "addButton"
            visible: toolbar.addShown
            text: "Добавить"
            iconName: "list-add-symbolic"
            Accessible.name: "Добавить аккаунт"
            ToolTip.text: Accessible.name + " (" + addShortcut.nativeText + ")"
            ToolTip.visible: hovered
            ToolTip.delay: 600
            onClicked: toolbar.addRequested()

            Shortcut {
                id: addShortcut
                sequence: "Ctrl+N"
                enabled: addButton.visible
                onActivated: addButton.clicked()
            }
        }
    }
}
