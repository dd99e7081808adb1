import QtQuick
import QtQuick.Controls
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
    // The error alert while it is open.
    property AlertDialog errorAlert: null

    // "accounts" for every section and service without a page of its own.
    readonly property string page: Store.selectedServiceId === ""
                                   && (Store.selectedSection === "history" || Store.selectedSection === "support"
                                       || Store.selectedSection === "about")
                                   ? Store.selectedSection : "accounts"
    readonly property bool archiveShown: Store.selectedServiceId === "" && Store.selectedSection === "archive"

    // Brings the account's row into view and gives it the focus, once the
    // application has selected a destination that lists it at `index`.
    function revealAccount(accountId, index) {
        if (window.page === "accounts" && pageLoader.item)
            pageLoader.item.revealAccount(accountId, index) // qmllint disable type
    }

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

    // An alert is built when it opens and released when it closes.
    function openAlert(component) {
        const alert = component.createObject(window)
        alert.dismissed.connect(() => alert.destroy())
        alert.open()
        return alert
    }

    function confirmDeleteAccount(accountId, accountName) {
        accountToDeleteId = accountId
        openAlert(deleteAccountAlert)
    }

    function confirmDeleteService(serviceId, name) {
        serviceToDeleteId = serviceId
        openAlert(deleteServiceAlert)
    }

    function openPreferences() {
        preferencesHost.open()
    }

    // Another destination starts with an empty search.
    function showSection(section) {
        Store.selectSection(section)
        Store.searchQuery = ""
    }

    function syncErrorAlert() {
        if (Store.hasError && !errorAlert)
            errorAlert = openAlert(errorAlertComponent)
        else if (!Store.hasError && errorAlert)
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
        value: Appearance.dark
    }

    // The history log is only kept up to date while it is shown.
    Binding {
        target: Store.events
        property: "active"
        value: window.page === "history"
    }

    // The toolbar's and the sidebar's shortcuts are their buttons'. Ctrl+W
    // closes the window as its close button does: the application decides
    // whether that quits or goes on in the background.
    Shortcut {
        sequence: "Ctrl+W"
        onActivated: window.close()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: Qt.quit()
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
            selectedSection: Store.selectedSection
            selectedServiceId: Store.selectedServiceId
            services: Store.services
            dropHandler: (texts, serviceId) => Store.handleAccountDrop(texts, serviceId)
            onSectionChosen: section => window.showSection(section)
            onServiceChosen: serviceId => {
                Store.selectService(serviceId)
                Store.searchQuery = ""
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

            // Before the content in the Tab order, drawn over it (its shadow).
            Toolbar {
                id: toolbar
                z: 1
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                section: Store.selectedSection
                serviceSelected: Store.selectedServiceId !== ""
                searchText: Store.searchQuery
                onSearchEdited: text => Store.searchQuery = text
                onRefreshRequested: Store.refreshNow()
                onPreferencesRequested: window.openPreferences()
                onAddRequested: window.openAccountEditor("")
            }

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

        }
    }

    Component {
        id: accountsPage
        AccountsContent {}
    }
    Component {
        id: historyPage
        HistoryContent {}
    }
    Component {
        id: supportPage
        SupportContent {}
    }
    Component {
        id: aboutPage
        AboutSection {}
    }
    // Every page calls back into the window for its sheets and alerts.
    Binding {
        target: pageLoader.item
        property: "shell"
        value: window
    }

    AccountEditorHost { id: accountEditorHost }
    ServiceEditorHost { id: serviceEditorHost }
    PreferencesHost { id: preferencesHost }

    // The alerts reach the window by its id; the linter follows ids into
    // components only under "pragma ComponentBehavior: Bound".
    // qmllint disable unqualified
    Component {
        id: deleteAccountAlert
        AlertDialog {
            title: "Удалить аккаунт?"
            message: "Это действие нельзя отменить, все данные будут удалены безвозвратно."
            acceptText: window.archiveShown ? "Удалить навсегда" : "Удалить"
            destructive: true
            cancellable: true
            onConfirmed: Store.deleteAccount(window.accountToDeleteId)
            onDismissed: window.accountToDeleteId = ""
        }
    }

    Component {
        id: deleteServiceAlert
        AlertDialog {
            title: "Удалить сервис?"
            message: "Аккаунты из сервиса будут автоматически перенесены в «Без сервиса»."
            acceptText: "Удалить сервис"
            destructive: true
            cancellable: true
            onConfirmed: Store.deleteService(window.serviceToDeleteId)
            onDismissed: window.serviceToDeleteId = ""
        }
    }

    // Opened by any failed operation; however it is closed, the message is cleared.
    Component {
        id: errorAlertComponent
        AlertDialog {
            title: "Ошибка"
            message: Store.lastErrorMessage
            acceptText: "ОК"
            onDismissed: {
                window.errorAlert = null
                if (Store.hasError)
                    Store.clearError()
            }
        }
    }
    // qmllint enable unqualified

    Connections {
        target: Store
        function onLastErrorMessageChanged() { window.syncErrorAlert() }
    }

    Component.onCompleted: syncErrorAlert()
}
