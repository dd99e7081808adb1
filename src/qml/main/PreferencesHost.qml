import QtQuick
import Tallyport

// Opens the preferences sheet, fresh each time, and wires it to the store.
Item {
    id: host

    // Answers of the store's asynchronous notification queries, oldest first,
    // each for the sheet that asked (dropped when that sheet is gone).
    property var statusWaiters: []
    property var permissionWaiters: []

    readonly property var callbacks: ({
        preview: (p) => Store.previewPreferences(p),
        commit: (p) => Store.commitPreferences(p),
        cancelRevert: (p) => Store.restorePreferences(p),
        fetchAutostartStatus: () => Store.autostartStatusText(),
        fetchNotificationStatus: (done) => {
            host.statusWaiters.push(host.forCurrentSheet(done))
            Store.fetchNotificationStatus()
        },
        requestNotificationPermission: (done) => {
            host.permissionWaiters.push(host.forCurrentSheet(done))
            Store.requestNotificationPermission()
        },
        openNotificationSettings: () => Store.openNotificationSettings(),
        // The store shows a modal file panel and waits for it: not from
        // inside the click that asked for it.
        exportBackup: (password) => Qt.callLater(() => Store.exportBackup(password)),
        importBackup: (password, mode) => Qt.callLater(() => host.importBackup(password, mode))
    })

    function open() {
        if (loader.active)
            return
        loader.active = true
        loader.item.callbacks = host.callbacks
        loader.item.initial = Store.preferences
        loader.item.open()
    }

    // A replacing import also replaces the preferences (when they differ):
    // the open sheet takes them over.
    function importBackup(password, mode) {
        const sheet = loader.item
        let replaced = false
        const noteChange = () => { replaced = true }
        Store.preferencesChanged.connect(noteChange)
        Store.importBackup(password, mode)
        Store.preferencesChanged.disconnect(noteChange)
        if (replaced && sheet && loader.item === sheet)
            sheet.adopt(Store.preferences)
    }

    function forCurrentSheet(done) {
        const sheet = loader.item
        return (answer) => {
            if (loader.item === sheet)
                done(answer)
        }
    }

    Connections {
        target: Store
        function onNotificationStatusFetched(text) {
            const done = host.statusWaiters.shift()
            if (done)
                done(text)
        }
        function onNotificationPermissionAnswered(granted) {
            const done = host.permissionWaiters.shift()
            if (done)
                done(granted)
        }
    }

    Loader {
        id: loader
        active: false
        sourceComponent: PreferencesSheet {
            id: sheet
            // The catalogue takes a moment to build: once the sheet is up.
            // Qt 6.4's qmllint takes Qt.callLater for a property.
            onOpened: Qt.callLater(() => { sheet.timezoneOptions = Store.timeZoneOptions() }) // qmllint disable type
            onClosed: Qt.callLater(() => { loader.active = false }) // qmllint disable type
        }
    }
}
