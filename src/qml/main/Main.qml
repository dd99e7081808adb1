import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The one window: the sidebar and, beside it, the toolbar over the content of
// the selected destination. It owns the sheets and alerts and is the `shell`
// the pages call to open them.
ApplicationWindow {
    id: window

    required property string appName
    required property string appVersion

    // The service row under a drag in progress, "" when there is none.
    property alias dropTargetServiceId: sidebar.dropTargetServiceId
    property string accountToDeleteId: ""
    property string serviceToDeleteId: ""

    // "accounts" for every section and service without a page of its own.
    readonly property string page: store.selectedServiceId === ""
                                   && ["history", "support", "about"].indexOf(store.selectedSection) >= 0
                                   ? store.selectedSection : "accounts"
    readonly property bool archiveShown: store.selectedServiceId === "" && store.selectedSection === "archive"

    function openAccountEditor(accountId) {
        if (accountId === "")
            accountEditorHost.openForAdd()
        else
            accountEditorHost.openForEdit(accountId)
    }

    function openServiceEditor(serviceId) {
        if (serviceId === "")
            serviceEditorHost.openForAdd()
        else
            serviceEditorHost.openForRename(serviceId)
    }

    function confirmDeleteAccount(accountId, accountName) {
        accountToDeleteId = accountId
        deleteAccountAlert.open()
    }

    function confirmDeleteService(serviceId, name) {
        serviceToDeleteId = serviceId
        deleteServiceAlert.open()
    }

    function openPreferences() {
        preferencesHost.open()
    }

    function syncErrorAlert() {
        if (store.hasError)
            errorAlert.open()
        else
            errorAlert.close()
    }

    width: 1180
    height: 760
    minimumWidth: 1060
    minimumHeight: 720
    title: ""
    visible: true
    color: Theme.surface

    // Standard controls (menus, fields, pickers, dialogs) draw from the palette.
    palette.window: Theme.surface
    palette.windowText: Theme.onSurface
    palette.base: Theme.cardBackground
    palette.alternateBase: Theme.surfaceContainerLow
    palette.text: Theme.onSurface
    palette.button: Theme.surfaceContainerHigh
    palette.buttonText: Theme.onSurface
    palette.brightText: "white"
    palette.highlight: Theme.primaryBlue
    palette.highlightedText: "white"
    palette.link: Theme.primaryBlue
    palette.placeholderText: Theme.withOpacity(Theme.onSurfaceVariant, 0.75)
    palette.toolTipBase: Theme.surfaceContainerHighest
    palette.toolTipText: Theme.onSurface
    palette.light: Theme.dark ? Qt.rgba(60 / 255, 68 / 255, 86 / 255, 1) : "white"
    palette.midlight: Theme.dark ? Qt.rgba(48 / 255, 56 / 255, 72 / 255, 1) : Qt.rgba(240 / 255, 239 / 255, 244 / 255, 1)
    palette.mid: Theme.dark ? Qt.rgba(70 / 255, 79 / 255, 98 / 255, 1) : Qt.rgba(190 / 255, 189 / 255, 196 / 255, 1)
    palette.dark: Theme.dark ? Qt.rgba(8 / 255, 10 / 255, 14 / 255, 1) : Qt.rgba(160 / 255, 159 / 255, 166 / 255, 1)
    palette.shadow: "black"
    palette.disabled.text: Theme.withOpacity(Theme.onSurfaceVariant, 0.5)
    palette.disabled.windowText: Theme.withOpacity(Theme.onSurfaceVariant, 0.5)
    palette.disabled.buttonText: Theme.withOpacity(Theme.onSurfaceVariant, 0.5)

    Binding {
        target: Theme
        property: "dark"
        value: appearance.dark
    }

    // The history log is only kept up to date while it is shown.
    Binding {
        target: store.events
        property: "active"
        value: window.page === "history"
    }

    Shortcut {
        sequence: StandardKey.Find
        enabled: toolbar.searchShown
        onActivated: toolbar.focusSearch()
    }
    Shortcut {
        sequence: "Ctrl+N"
        enabled: toolbar.addShown
        onActivated: window.openAccountEditor("")
    }
    Shortcut {
        sequence: "Ctrl+,"
        onActivated: window.openPreferences()
    }
    Shortcut {
        sequence: "F5"
        onActivated: store.refreshNow()
    }

    SplitView {
        anchors.fill: parent
        orientation: Qt.Horizontal

        handle: Rectangle {
            implicitWidth: 1
            color: SplitHandle.hovered || SplitHandle.pressed
                   ? Theme.withOpacity(Theme.primaryBlue, 0.5)
                   : Theme.withOpacity(Theme.onSurfaceVariant, 0.18)
            // A wider grip than the line it draws.
            containmentMask: Item {
                x: -4
                width: 9
                height: parent ? parent.height : 0
            }
        }

        Sidebar {
            id: sidebar
            SplitView.minimumWidth: 230
            SplitView.preferredWidth: 260
            appName: window.appName
            appVersion: window.appVersion
            selectedSection: store.selectedSection
            selectedServiceId: store.selectedServiceId
            services: store.services
            dropHandler: (texts, serviceId) => store.handleAccountDrop(texts, serviceId)
            // Another destination starts with an empty search.
            onSectionChosen: section => {
                store.selectSection(section)
                store.searchQuery = ""
            }
            onServiceChosen: serviceId => {
                store.selectService(serviceId)
                store.searchQuery = ""
            }
            onAddServiceRequested: window.openServiceEditor("")
            onRenameServiceRequested: serviceId => window.openServiceEditor(serviceId)
            onDeleteServiceRequested: (serviceId, name) => window.confirmDeleteService(serviceId, name)
        }

        Item {
            SplitView.fillWidth: true
            SplitView.minimumWidth: 640
            // The toolbar's shadow stays in this column.
            clip: true

            Rectangle {
                anchors.top: toolbar.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                color: Theme.surface

                Loader {
                    id: pageLoader
                    anchors.fill: parent
                    sourceComponent: window.page === "about" ? aboutPage
                                   : window.page === "support" ? supportPage
                                   : window.page === "history" ? historyPage
                                   : accountsPage
                }
            }

            Toolbar {
                id: toolbar
                z: 1
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                section: store.selectedSection
                serviceSelected: store.selectedServiceId !== ""
                searchText: store.searchQuery
                onSearchEdited: text => store.searchQuery = text
                onRefreshRequested: store.refreshNow()
                onPreferencesRequested: window.openPreferences()
                onAddRequested: window.openAccountEditor("")
            }
        }
    }

    Component {
        id: accountsPage
        AccountsContent { shell: window }
    }
    Component {
        id: historyPage
        HistoryContent { shell: window }
    }
    Component {
        id: supportPage
        SupportContent { shell: window }
    }
    Component {
        id: aboutPage
        AboutSection { shell: window }
    }

    AccountEditorHost { id: accountEditorHost }
    ServiceEditorHost { id: serviceEditorHost }
    PreferencesHost { id: preferencesHost }

    AlertDialog {
        id: deleteAccountAlert
        title: "Удалить аккаунт?"
        message: "Это действие нельзя отменить, все данные будут удалены безвозвратно."
        acceptText: window.archiveShown ? "Удалить навсегда" : "Удалить"
        destructive: true
        cancellable: true
        onConfirmed: store.deleteAccount(window.accountToDeleteId)
        onDismissed: window.accountToDeleteId = ""
    }

    AlertDialog {
        id: deleteServiceAlert
        title: "Удалить сервис?"
        message: "Аккаунты из сервиса будут автоматически перенесены в «Без сервиса»."
        acceptText: "Удалить сервис"
        destructive: true
        cancellable: true
        onConfirmed: store.deleteService(window.serviceToDeleteId)
        onDismissed: window.serviceToDeleteId = ""
    }

    // Opened by any failed operation; however it is closed, the message is cleared.
    AlertDialog {
        id: errorAlert
        title: "Ошибка"
        message: store.lastErrorMessage
        acceptText: "ОК"
        onDismissed: {
            if (store.hasError)
                store.clearError()
        }
    }

    Connections {
        target: store
        function onLastErrorMessageChanged() { window.syncErrorAlert() }
    }

    Component.onCompleted: syncErrorAlert()
}
