pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The save or open panel of the backup flow, made and waited for by
// DialogFilePanels (`panels`): a folder's subfolders and JSON files, and for
// saving a file name, "limits-backup.json" to begin with. `chosenPath` holds
// the answer (empty: cancelled) when `finished` is emitted.
Dialog {
    id: dialog

    property var panels: null
    property bool saving: false
    property string startFolder
    property string homeFolder
    property string suggestedName
    property string folder
    property var entries: []
    property string chosenPath: ""
    readonly property var currentEntry: list.currentIndex >= 0 && list.currentIndex < entries.length
                                        ? entries[list.currentIndex] : null
    readonly property string typedPath: saving && nameField.text.trim() !== ""
                                        ? panels.savePath(folder, nameField.text.trim()) : ""
    readonly property bool canSubmit: saving ? typedPath !== "" : currentEntry !== null

    signal finished()

    function show(path) {
        folder = path
        entries = panels.folderEntries(path)
        list.currentIndex = entries.length > 0 ? 0 : -1
        list.positionViewAtBeginning()
    }

    // A folder is opened; a file is taken (open) or its name copied (save).
    function activate(entry) {
        if (!entry)
            return
        if (entry.isFolder)
            show(entry.path)
        else if (saving)
            nameField.text = entry.name
        else
            finish(entry.path)
    }

    // Return in the list: into a folder; otherwise as the dialog's button.
    function activateCurrent() {
        if (currentEntry && currentEntry.isFolder)
            activate(currentEntry)
        else
            submit()
    }

    function submit() {
        if (!canSubmit)
            return
        if (!saving)
            activate(currentEntry)
        else if (panels.isFolder(typedPath)) {
            show(typedPath)
            nameField.text = suggestedName
        }
        else
            finish(typedPath)
    }

    function finish(path) {
        chosenPath = path
        close()
    }

    objectName: "backupFileDialog"
    title: saving ? "Сохранение файла" : "Открытие файла"
    anchors.centerIn: parent
    width: Math.min(660, parent ? parent.width - 80 : 660)
    height: Math.min(520, parent ? parent.height - 80 : 520)
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    padding: 0
    header: null
    footer: null
    background: GlassCard {}

    Component.onCompleted: show(startFolder)
    onOpened: {
        if (saving) {
            nameField.text = suggestedName
            nameField.forceActiveFocus(Qt.PopupFocusReason)
            nameField.select(0, suggestedName.replace(/\.json$/i, "").length)
        } else {
            list.forceActiveFocus(Qt.PopupFocusReason)
        }
    }
    onClosed: finished()

    contentItem: FocusScope {
        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 20
            spacing: 12

            RowLayout {
                Layout.fillWidth: true
                spacing: 8

                IconButton {
                    iconName: "go-up-symbolic"
                    Accessible.name: "Папка выше"
                    enabled: dialog.panels.parentFolder(dialog.folder) !== dialog.folder
                    onClicked: dialog.show(dialog.panels.parentFolder(dialog.folder))
                }
                IconButton {
                    iconName: "go-home-symbolic"
                    Accessible.name: "Домашняя папка"
                    onClicked: dialog.show(dialog.homeFolder)
                }
                Text {
                    Layout.fillWidth: true
                    text: dialog.folder
                    textFormat: Text.PlainText
                    color: Theme.onSurface
                    font.pixelSize: Theme.subheadlineSize
                    font.weight: Font.Medium
                    elide: Text.ElideMiddle
                    Accessible.name: "Папка: " + text
                }
            }

            Rectangle {
                Layout.fillWidth: true
                Layout.fillHeight: true
                radius: 10
                color: Theme.withOpacity(Theme.surfaceContainerLow, 0.8)
                border.width: 1
                border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.12)

                ListView {
                    id: list
                    objectName: "entryList"
                    anchors.fill: parent
                    anchors.margins: 4
                    clip: true
                    model: dialog.entries
                    highlightMoveDuration: 0
                    keyNavigationEnabled: true
                    boundsBehavior: Flickable.StopAtBounds
                    ScrollBar.vertical: ScrollBar {}

                    activeFocusOnTab: true
                    Keys.onReturnPressed: dialog.activateCurrent()
                    Keys.onEnterPressed: dialog.activateCurrent()
                    Keys.onPressed: (event) => {
                        if (event.key === Qt.Key_Backspace) {
                            dialog.show(dialog.panels.parentFolder(dialog.folder))
                            event.accepted = true
                        }
                    }

                    delegate: ItemDelegate {
                        id: row

                        required property int index
                        required property var modelData

                        width: ListView.view.width
                        text: modelData.name
                        highlighted: ListView.isCurrentItem
                        hoverEnabled: true
                        leftPadding: 10
                        rightPadding: 10
                        topPadding: 7
                        bottomPadding: 7
                        Accessible.name: text
                        Accessible.onPressAction: clicked()
                        onClicked: {
                            list.currentIndex = index
                            if (dialog.saving && !modelData.isFolder)
                                nameField.text = modelData.name
                        }
                        onDoubleClicked: dialog.activate(modelData)

                        contentItem: RowLayout {
                            spacing: 8
                            Icon {
                                iconName: row.modelData.isFolder ? "folder-symbolic" : "text-x-generic-symbolic"
                                size: 16
                                color: row.highlighted ? "white" : Theme.onSurfaceVariant
                            }
                            Text {
                                Layout.fillWidth: true
                                text: row.text
                                textFormat: Text.PlainText
                                color: row.highlighted ? "white" : Theme.onSurface
                                font.pixelSize: Theme.subheadlineSize
                                elide: Text.ElideMiddle
                            }
                        }
                        background: Rectangle {
                            radius: 6
                            color: row.highlighted ? Theme.primaryBlue
                                                   : row.hovered ? Theme.surfaceContainerHigh : "transparent"
                        }
                    }
                }

                Label {
                    anchors.centerIn: parent
                    visible: dialog.entries.length === 0
                    text: "Здесь нет папок и файлов JSON"
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.subheadlineSize
                }
            }

            RowLayout {
                Layout.fillWidth: true
                visible: dialog.saving
                spacing: 12

                Label {
                    text: "Имя файла"
                    color: Theme.onSurface
                    font.pixelSize: Theme.bodySize
                }
                SheetTextField {
                    id: nameField
                    objectName: "nameField"
                    Layout.fillWidth: true
                    Accessible.name: "Имя файла"
                    onAccepted: dialog.submit()
                }
            }

            Label {
                Layout.fillWidth: true
                visible: dialog.saving && dialog.typedPath !== "" && dialog.panels.exists(dialog.typedPath)
                         && !dialog.panels.isFolder(dialog.typedPath)
                text: "Файл с таким именем уже есть: он будет заменён."
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.captionSize
                wrapMode: Text.Wrap
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 12

                Label {
                    Layout.fillWidth: true
                    text: "JSON (*.json)"
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.captionSize
                }
                PreferencesButton {
                    objectName: "cancelButton"
                    text: "Отмена"
                    Accessible.name: "Отмена выбора файла"
                    onClicked: dialog.close()
                }
                GradientButton {
                    objectName: "submitButton"
                    text: dialog.saving ? "Сохранить" : "Открыть"
                    Accessible.name: dialog.saving ? "Сохранить файл" : "Открыть файл"
                    enabled: dialog.canSubmit
                    onClicked: dialog.submit()
                }
            }
        }
    }

    component IconButton: Button {
        id: iconButton

        property string iconName

        implicitWidth: 32
        implicitHeight: 32
        hoverEnabled: true
        opacity: enabled ? 1 : 0.4
        Accessible.onPressAction: clicked()

        contentItem: Item {
            Icon {
                anchors.centerIn: parent
                iconName: iconButton.iconName
                size: 16
                color: Theme.onSurfaceVariant
            }
        }
        background: Rectangle {
            radius: 8
            color: iconButton.down ? Theme.surfaceContainerHighest
                                   : iconButton.hovered ? Theme.surfaceContainerHigh : "transparent"
        }
    }
}
