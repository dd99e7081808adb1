pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The left column: the application's name and version, the fixed sections,
// the services with their editing controls, and the drop targets that move a
// dragged account to a service. It holds no data: the window hands in the
// selection and the services, and turns its signals into store calls.
Rectangle {
    id: sidebar

    property string appName: "Tallyport"
    property string appVersion: ""
    // The store's selection: a service id, or else a section's raw value.
    property string selectedSection: "all"
    property string selectedServiceId: ""
    // Rows with the roles serviceId, name and isSystem, system service first.
    property var services: null
    // The service row under a drag in progress, "" when there is none.
    property string dropTargetServiceId: ""
    // Moves the accounts whose ids the dropped texts are; true when the drop
    // is accepted.
    property var dropHandler: function (texts, serviceId) { return false }

    signal sectionChosen(string section)
    signal serviceChosen(string serviceId)
    signal addServiceRequested()
    signal renameServiceRequested(string serviceId)
    signal deleteServiceRequested(string serviceId, string name)

    readonly property var upperSections: [
        { section: "all", title: "Все аккаунты", iconName: "avatar-default-symbolic" },
        { section: "active", title: "Активные лимиты", iconName: "alarm-symbolic" },
        { section: "history", title: "История", iconName: "document-open-recent-symbolic" }
    ]
    readonly property var lowerSections: [
        { section: "support", title: "Помощь", iconName: "help-browser-symbolic", shortcut: "F1" },
        { section: "archive", title: "Архив", iconName: "package-x-generic-symbolic" },
        { section: "about", title: "О программе", iconName: "help-about-symbolic" }
    ]

    function sectionSelected(section) {
        return selectedServiceId === "" && selectedSection === section
    }

    implicitWidth: 260
    color: Theme.surfaceContainerLow

    // A section's row, with its keyboard shortcut when it has one.
    component SectionRow: SidebarRow {
        id: sectionRow
        required property var modelData
        objectName: "section:" + modelData.section
        Layout.fillWidth: true
        text: modelData.title
        iconName: modelData.iconName
        ToolTip.text: text + " (" + shortcut.nativeText + ")"
        ToolTip.visible: hovered && shortcut.enabled
        ToolTip.delay: 600

        Shortcut {
            id: shortcut
            sequence: sectionRow.modelData.shortcut || ""
            enabled: sequence !== ""
            onActivated: sectionRow.clicked()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 14

        ColumnLayout {
            Layout.topMargin: 8
            spacing: 2

            RowLayout {
                spacing: 8
                Icon {
                    iconName: "tallyport-account-checked-symbolic"
                    size: 24
                    color: Theme.onSurface
                }
                Label {
                    text: sidebar.appName
                    color: Theme.onSurface
                    font.pixelSize: 24
                    font.weight: Font.Black
                }
            }
            Label {
                text: sidebar.appVersion
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.captionSize
            }
        }

        Repeater {
            model: sidebar.upperSections
            delegate: SectionRow {
                Layout.topMargin: 12
                selected: sidebar.sectionSelected(modelData.section)
                onClicked: sidebar.sectionChosen(modelData.section)
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.topMargin: 2
            Layout.bottomMargin: 2
            implicitHeight: 1
            color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 8

            RowLayout {
                Layout.fillWidth: true
                spacing: 8

                Label {
                    text: "Сервисы"
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.captionSize
                    font.weight: Font.DemiBold
                }
                Item { Layout.fillWidth: true }
                Button {
                    id: addServiceButton
                    objectName: "addServiceButton"
                    Accessible.name: "Создать сервис"
                    Accessible.onPressAction: clicked()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()
                    focusPolicy: Qt.StrongFocus
                    padding: 2
                    ToolTip.text: "Создать сервис"
                    ToolTip.visible: hovered
                    ToolTip.delay: 600
                    contentItem: Icon {
                        iconName: "tallyport-add-circle-symbolic"
                        size: 16
                        color: Theme.primaryBlue
                    }
                    background: Rectangle {
                        radius: width / 2
                        color: "transparent"
                        border.width: addServiceButton.visualFocus ? 2 : 0
                        border.color: Theme.withOpacity(Theme.primaryBlue, 0.7)
                    }
                    onClicked: sidebar.addServiceRequested()
                }
            }

            ListView {
                id: serviceList
                objectName: "serviceList"
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.preferredHeight: contentHeight
                Layout.maximumHeight: contentHeight
                Layout.minimumHeight: Math.min(contentHeight, 120)
                clip: true
                spacing: 8
                interactive: contentHeight > height
                boundsBehavior: Flickable.StopAtBounds
                model: sidebar.services
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                delegate: SidebarServiceRow {
                    id: serviceRow
                    objectName: "service:" + serviceId
                    width: ListView.view.width
                    selected: sidebar.selectedServiceId === serviceId
                    dropTarget: sidebar.dropTargetServiceId === serviceId
                    onClicked: sidebar.serviceChosen(serviceId)
                    onRenameRequested: sidebar.renameServiceRequested(serviceId)
                    onDeleteRequested: sidebar.deleteServiceRequested(serviceId, name)
                    onActiveFocusChanged: {
                        if (activeFocus)
                            ListView.view.positionViewAtIndex(index, ListView.Contain)
                    }

                    required property int index

                    DropArea {
                        anchors.fill: parent
                        keys: ["text/plain"]
                        onEntered: sidebar.dropTargetServiceId = serviceRow.serviceId
                        onExited: {
                            if (sidebar.dropTargetServiceId === serviceRow.serviceId)
                                sidebar.dropTargetServiceId = ""
                        }
                        onDropped: drop => {
                            const accepted = sidebar.dropHandler([drop.text], serviceRow.serviceId)
                            if (sidebar.dropTargetServiceId === serviceRow.serviceId)
                                sidebar.dropTargetServiceId = ""
                            if (accepted)
                                drop.acceptProposedAction()
                            else
                                drop.accepted = false
                        }
                    }
                }
            }
        }

        Item {
            Layout.fillHeight: true
        }

        Repeater {
            model: sidebar.lowerSections
            delegate: SectionRow {
                selected: sidebar.sectionSelected(modelData.section)
                onClicked: sidebar.sectionChosen(modelData.section)
            }
        }
    }
}
