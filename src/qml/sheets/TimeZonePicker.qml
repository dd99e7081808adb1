import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The time-zone list of the preferences: a search field over the entries of
// `options` ({id, title}). Typing narrows the list by title (which holds the
// zone's identifier too); Up, Down, Page Up and Page Down move through it,
// Return or a click picks an entry, Escape or a click outside closes.
Popup {
    id: picker

    property var options: []
    property string currentId: "__system__"
    property string query: ""
    readonly property var matches: {
        const q = query.trim().toLocaleLowerCase()
        if (q === "")
            return options
        return options.filter(o => o.title.toLocaleLowerCase().indexOf(q) >= 0)
    }

    signal chosen(string optionId)

    function choose(index) {
        if (index < 0 || index >= matches.length)
            return
        chosen(matches[index].id)
        close()
    }

    function moveBy(step) {
        if (matches.length === 0)
            return
        list.currentIndex = Math.max(0, Math.min(matches.length - 1, list.currentIndex + step))
    }

    implicitWidth: 420
    implicitHeight: 380
    padding: 8
    margins: 8
    focus: true
    // A click outside closes the list only, not the sheet under it.
    modal: true
    dim: false
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    onAboutToShow: {
        searchField.clear()
        list.currentIndex = Math.max(0, options.findIndex(o => o.id === currentId))
    }
    onOpened: {
        searchField.forceActiveFocus(Qt.PopupFocusReason)
        list.positionViewAtIndex(list.currentIndex, ListView.Center)
    }

    background: Rectangle {
        radius: 10
        color: Theme.cardBackground
        border.width: 1
        border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
    }

    contentItem: ColumnLayout {
        spacing: 8

        SheetTextField {
            id: searchField
            Layout.fillWidth: true
            placeholderText: "Поиск часового пояса"
            Accessible.name: "Поиск часового пояса"
            onTextChanged: {
                picker.query = text
                list.currentIndex = picker.matches.length > 0 ? 0 : -1
                list.positionViewAtBeginning()
            }
            onAccepted: picker.choose(list.currentIndex)
            Keys.onDownPressed: picker.moveBy(1)
            Keys.onUpPressed: picker.moveBy(-1)
            Keys.onPressed: (event) => {
                if (event.key === Qt.Key_PageDown || event.key === Qt.Key_PageUp) {
                    const page = Math.max(1, Math.floor(list.height / 34))
                    picker.moveBy(event.key === Qt.Key_PageDown ? page : -page)
                    event.accepted = true
                }
            }
        }

        ListView {
            id: list
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: picker.matches
            highlightMoveDuration: 0
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}

            delegate: ItemDelegate {
                id: entry

                required property int index
                required property var modelData
                readonly property bool selected: modelData.id === picker.currentId

                width: ListView.view.width
                text: modelData.title
                highlighted: ListView.isCurrentItem
                hoverEnabled: true
                leftPadding: 10
                rightPadding: 10
                topPadding: 8
                bottomPadding: 8
                Accessible.name: text
                Accessible.onPressAction: clicked()
                onClicked: picker.choose(index)

                contentItem: RowLayout {
                    spacing: 8
                    Text {
                        Layout.fillWidth: true
                        text: entry.text
                        color: entry.highlighted ? "white" : Theme.onSurface
                        font.pixelSize: Theme.subheadlineSize
                        font.weight: entry.selected ? Font.DemiBold : Font.Normal
                        elide: Text.ElideRight
                    }
                    Icon {
                        visible: entry.selected
                        iconName: "object-select-symbolic"
                        size: 14
                        color: entry.highlighted ? "white" : Theme.primaryBlue
                    }
                }
                background: Rectangle {
                    radius: 6
                    color: entry.highlighted ? Theme.primaryBlue
                                             : entry.hovered ? Theme.surfaceContainerHigh : "transparent"
                }
            }
        }

        Label {
            Layout.fillWidth: true
            Layout.bottomMargin: 8
            visible: picker.matches.length === 0
            text: "Ничего не найдено"
            horizontalAlignment: Text.AlignHCenter
            color: Theme.onSurfaceVariant
            font.pixelSize: Theme.subheadlineSize
        }
    }
}
