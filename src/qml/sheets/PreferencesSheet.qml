pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// "Настройки": edits a draft of the preferences with live preview. Every
// change goes through callbacks.preview, whose answer is what is in effect
// and what the controls show; "Сохранить" (Return) commits the draft,
// "Отмена" (Escape, a click outside) puts back `initial`, the values the
// sheet was opened with. Make a fresh sheet for every opening.
//
// `callbacks` is the window's side: preview(p) -> p, commit(p),
// cancelRevert(p), fetchAutostartStatus() -> text,
// fetchNotificationStatus(done(text)), requestNotificationPermission(done(granted)),
// openNotificationSettings(), exportBackup(password), importBackup(password, mode).
Dialog {
    id: sheet

    property var initial: ({})
    property var callbacks: null
    // {id, title}, the system entry "__system__" first; may arrive after opening.
    property var timezoneOptions: []

    property var draft: ({})
    property string selectedTab: "general"
    property string notificationStatus: "Проверка..."
    property string autostartStatus: "Проверка..."
    readonly property alias importMode: importSheet.mode

    readonly property var appearanceModes: [
        { value: "system", text: "Как в системе" },
        { value: "light", text: "День" },
        { value: "dark", text: "Ночь" }
    ]
    readonly property var timerFormats: [
        { value: "compact", text: "Компактный" },
        { value: "full", text: "Полный" }
    ]
    readonly property string timezoneId: draft.timezoneIdentifier ? draft.timezoneIdentifier : "__system__"
    readonly property string timezoneTitle: {
        const option = timezoneOptions.find(o => o.id === timezoneId)
        if (option)
            return option.title
        return timezoneId === "__system__" ? "Системный" : timezoneId
    }

    property bool committed: false

    // Applies a changed draft at once; the controls follow what the window
    // could actually apply (a launch-at-login switch that failed flips back).
    function change(key, value) {
        const next = Object.assign({}, draft)
        next[key] = value
        const applied = callbacks.preview(next)
        draft = applied ? Object.assign({}, applied) : next
        autostartStatus = callbacks.fetchAutostartStatus()
    }

    function save() {
        committed = true
        callbacks.commit(draft)
        close()
    }

    // A replacing import put new preferences in force under the sheet: they
    // become what it shows and what "Отмена" returns to, so that closing the
    // sheet does not undo the import.
    function adopt(preferences) {
        initial = Object.assign({}, preferences)
        draft = Object.assign({}, preferences)
        autostartStatus = callbacks.fetchAutostartStatus()
    }

    function requestNotificationAccess() {
        callbacks.requestNotificationPermission(() => {
            callbacks.fetchNotificationStatus((text) => { sheet.notificationStatus = text })
        })
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 760
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: 0
    header: null
    footer: null
    title: "Настройки"
    background: GlassCard {}

    enter: Transition {
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 150; easing.type: Easing.OutQuad }
        NumberAnimation { property: "scale"; from: 0.97; to: 1; duration: 150; easing.type: Easing.OutQuad }
    }
    exit: Transition {
        NumberAnimation { property: "opacity"; to: 0; duration: 120; easing.type: Easing.InQuad }
    }

    onAboutToShow: {
        draft = Object.assign({}, initial)
        committed = false
    }
    onOpened: {
        callbacks.fetchNotificationStatus((text) => {
            sheet.notificationStatus = text
            sheet.autostartStatus = callbacks.fetchAutostartStatus()
        })
    }
    // Escape, a click outside and "Отмена" all end here without a commit.
    onClosed: {
        if (!committed)
            callbacks.cancelRevert(initial)
    }

    contentItem: FocusScope {
        implicitWidth: layout.implicitWidth
        implicitHeight: layout.implicitHeight

        Keys.onReturnPressed: sheet.save()
        Keys.onEnterPressed: sheet.save()

        ColumnLayout {
            id: layout
            anchors.fill: parent
            spacing: 0

            Text {
                Layout.fillWidth: true
                Layout.leftMargin: 24
                Layout.rightMargin: 24
                Layout.topMargin: 24
                text: "Настройки"
                color: Theme.onSurface
                font.pixelSize: Theme.title2Size
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }

            RowLayout {
                Layout.leftMargin: 24
                Layout.rightMargin: 24
                Layout.topMargin: 16
                spacing: 6

                PreferencesTab { tab: "general"; iconName: "emblem-system-symbolic"; text: "Основное" }
                PreferencesTab { tab: "notifications"; iconName: "preferences-system-notifications-symbolic"; text: "Уведомления" }
            }

            StackLayout {
                Layout.fillWidth: true
                Layout.leftMargin: 24
                Layout.rightMargin: 24
                Layout.topMargin: 16
                Layout.bottomMargin: 20
                currentIndex: sheet.selectedTab === "general" ? 0 : 1

                RowsCard {
                    PreferencesRow {
                        label: "Оформление"
                        divider: false
                        SheetComboBox {
                            Layout.preferredWidth: 300
                            objectName: "appearanceCombo"
                            model: sheet.appearanceModes
                            textRole: "text"
                            valueRole: "value"
                            currentIndex: sheet.appearanceModes.findIndex(m => m.value === sheet.draft.appearanceMode)
                            Accessible.name: "Оформление"
                            onActivated: (index) => sheet.change("appearanceMode", sheet.appearanceModes[index].value)
                        }
                    }
                    PreferencesRow {
                        label: "Формат таймера"
                        SheetComboBox {
                            Layout.preferredWidth: 300
                            objectName: "timerFormatCombo"
                            model: sheet.timerFormats
                            textRole: "text"
                            valueRole: "value"
                            currentIndex: sheet.timerFormats.findIndex(m => m.value === sheet.draft.timerFormat)
                            Accessible.name: "Формат таймера"
                            onActivated: (index) => sheet.change("timerFormat", sheet.timerFormats[index].value)
                        }
                    }
                    PreferencesRow {
                        SheetSwitch {
                            Layout.fillWidth: true
                            objectName: "showSecondsSwitch"
                            text: "Показывать секунды"
                            checked: sheet.draft.showSeconds === true
                            onToggled: sheet.change("showSeconds", checked)
                        }
                    }
                    PreferencesRow {
                        SheetSwitch {
                            Layout.fillWidth: true
                            objectName: "autoLaunchSwitch"
                            text: "Автозапуск при старте"
                            checked: sheet.draft.autoLaunchAtStartup === true
                            onToggled: sheet.change("autoLaunchAtStartup", checked)
                        }
                    }
                    PreferencesRow {
                        label: "Статус автозапуска"
                        StatusText { text: sheet.autostartStatus; Accessible.name: "Статус автозапуска: " + text }
                    }
                    PreferencesRow {
                        SheetSwitch {
                            Layout.fillWidth: true
                            objectName: "backgroundSwitch"
                            text: "Работать в фоне после закрытия окна"
                            checked: sheet.draft.keepRunningInBackground !== false
                            onToggled: sheet.change("keepRunningInBackground", checked)
                        }
                    }
                    PreferencesRow {
                        label: "Часовой пояс"
                        Button {
                            id: zoneButton
                            objectName: "timezoneButton"
                            Layout.preferredWidth: 420
                            text: sheet.timezoneTitle
                            hoverEnabled: true
                            leftPadding: 12
                            rightPadding: 12 + zoneChevron.width + 8
                            topPadding: 9
                            bottomPadding: 9
                            Accessible.name: "Часовой пояс"
                            Accessible.description: text
                            Accessible.onPressAction: clicked()
                            // Below the button when the list fits there, above it otherwise.
                            onClicked: {
                                const bottom = mapToItem(null, 0, height).y
                                const room = Window.height - bottom - zonePicker.margins
                                zonePicker.y = room >= zonePicker.implicitHeight + 4 ? height + 4
                                                                                      : -zonePicker.implicitHeight - 4
                                zonePicker.open()
                            }

                            contentItem: Text {
                                text: zoneButton.text
                                color: Theme.onSurface
                                font.pixelSize: Theme.bodySize
                                elide: Text.ElideRight
                                verticalAlignment: Text.AlignVCenter
                            }
                            indicator: Icon {
                                id: zoneChevron
                                x: zoneButton.width - width - 12
                                y: (zoneButton.height - height) / 2
                                iconName: "pan-down-symbolic"
                                size: 14
                                color: Theme.onSurfaceVariant
                            }
                            background: Rectangle {
                                radius: 10
                                color: zoneButton.hovered || zoneButton.pressed ? Theme.surfaceContainerHigh
                                                                                : Theme.surfaceContainerHighest
                                border.width: zoneButton.visualFocus ? 2 : 0
                                border.color: Theme.primaryBlue
                            }

                            TimeZonePicker {
                                id: zonePicker
                                objectName: "timezonePicker"
                                y: zoneButton.height + 4
                                width: zoneButton.width
                                options: sheet.timezoneOptions.length > 0
                                         ? sheet.timezoneOptions : [{ id: "__system__", title: "Системный" }]
                                currentId: sheet.timezoneId
                                onChosen: (optionId) => sheet.change("timezoneIdentifier",
                                                                     optionId === "__system__" ? "" : optionId)
                            }
                        }
                    }
                    PreferencesRow {
                        label: "Резервное копирование"
                        PreferencesButton {
                            objectName: "exportButton"
                            text: "Экспорт"
                            onClicked: exportSheet.open()
                        }
                        PreferencesButton {
                            objectName: "importButton"
                            text: "Импорт"
                            onClicked: importSheet.open()
                        }
                    }
                }

                RowsCard {
                    PreferencesRow {
                        divider: false
                        SheetSwitch {
                            Layout.fillWidth: true
                            objectName: "notificationsSwitch"
                            text: "Уведомления о восстановлении"
                            checked: sheet.draft.notificationsOnRestore === true
                            onToggled: sheet.change("notificationsOnRestore", checked)
                        }
                    }
                    PreferencesRow {
                        label: "Статус разрешения"
                        StatusText { text: sheet.notificationStatus; Accessible.name: "Статус разрешения: " + text }
                    }
                    PreferencesRow {
                        label: "Системные разрешения"
                        PreferencesButton {
                            objectName: "requestAccessButton"
                            text: "Запросить доступ"
                            onClicked: sheet.requestNotificationAccess()
                        }
                        PreferencesButton {
                            objectName: "openSettingsButton"
                            text: "Открыть системные настройки"
                            onClicked: sheet.callbacks.openNotificationSettings()
                        }
                    }
                }
            }

            Item {
                Layout.fillWidth: true
                implicitHeight: buttons.implicitHeight + 40

                // Reaches the card's edges: clipped to its rounded bottom corners.
                Item {
                    anchors.fill: parent
                    clip: true

                    Rectangle {
                        anchors.fill: parent
                        anchors.topMargin: -radius
                        radius: 16
                        color: Theme.withOpacity(Theme.surfaceContainerLow, 0.6)
                    }
                }

                RowLayout {
                    id: buttons
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 12

                    Item { Layout.fillWidth: true }

                    PreferencesButton {
                        objectName: "cancelButton"
                        text: "Отмена"
                        onClicked: sheet.close()
                    }
                    GradientButton {
                        objectName: "saveButton"
                        text: "Сохранить"
                        onClicked: sheet.save()
                    }
                }
            }
        }
    }

    BackupExportSheet {
        id: exportSheet
        objectName: "exportSheet"
        onSubmitted: (password) => sheet.callbacks.exportBackup(password)
    }

    BackupImportSheet {
        id: importSheet
        objectName: "importSheet"
        onImported: (password, mode) => sheet.callbacks.importBackup(password, mode)
    }

    component PreferencesTab: Button {
        id: tabButton

        property string tab
        property string iconName
        readonly property bool selected: sheet.selectedTab === tab

        leftPadding: 12
        rightPadding: 12
        topPadding: 7
        bottomPadding: 7
        hoverEnabled: true
        Accessible.name: text
        Accessible.onPressAction: clicked()
        onClicked: sheet.selectedTab = tab

        contentItem: Row {
            spacing: 6
            Icon {
                anchors.verticalCenter: parent.verticalCenter
                iconName: tabButton.iconName
                size: 14
                color: tabButton.selected ? Theme.primaryBlue : Theme.onSurfaceVariant
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: tabButton.text
                color: tabButton.selected ? Theme.onSurface : Theme.onSurfaceVariant
                font.pixelSize: Theme.subheadlineSize
                font.weight: Font.Medium
            }
        }
        background: Rectangle {
            radius: 8
            color: tabButton.selected ? Theme.surfaceContainerHighest
                                      : tabButton.hovered ? Theme.withOpacity(Theme.surfaceContainerHigh, 0.6)
                                                          : "transparent"
        }
    }

    // The rows of one tab on a rounded card of their own, at the top of the
    // tab's space (the tabs share the height of the taller one).
    component RowsCard: Item {
        default property alias rows: column.data

        implicitHeight: card.height

        Rectangle {
            id: card
            width: parent.width
            height: column.implicitHeight
            radius: 12
            color: Theme.withOpacity(Theme.surfaceContainerLow, 0.8)
            border.width: 1
            border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.1)

            ColumnLayout {
                id: column
                width: parent.width
                spacing: 0
            }
        }
    }

    component StatusText: Label {
        color: Theme.onSurfaceVariant
        font.pixelSize: Theme.bodySize
        horizontalAlignment: Text.AlignRight
    }
}
