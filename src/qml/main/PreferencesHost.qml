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
        preview: (p) => store.previewPreferences(p),
        commit: (p) => store.commitPreferences(p),
        cancelRevert: (p) => store.restorePreferences(p),
        fetchAutostartStatus: () => store.autostartStatusText(),
        fetchNotificationStatus: (done) => {
            host.statusWaiters.push(host.forCurrentSheet(done))
            store.fetchNotificationStatus()
        },
        requestNotificationPermission: (done) => {
            host.permissionWaiters.push(host.forCurrentSheet(done))
            store.requestNotificationPermission()
        },
        openNotificationSettings: () => store.openNotificationSettings(),
        // The store shows a modal file panel and waits for it: not from
        // inside the click that asked for it.
        exportBackup: (password) => Qt.callLater(() => store.exportBackup(password)),
        importBackup: (password, mode) => Qt.callLater(() => host.importBackup(password, mode))
    })

    function open() {
        if (loader.active)
            return
        loader.active = true
        loader.item.initial = store.preferences
        loader.item.open()
    }

    // A replacing import also replaces the preferences (when they differ):
    // the open sheet takes them over.
    function importBackup(password, mode) {
        const sheet = loader.item
        let replaced = false
        const noteChange = () => { replaced = true }
        store.preferencesChanged.connect(noteChange)
        store.importBackup(password, mode)
        store.preferencesChanged.disconnect(noteChange)
        if (replaced && sheet && loader.item === sheet)
            sheet.adopt(store.preferences)
    }

    function forCurrentSheet(done) {
        const sheet = loader.item
        return (answer) => {
            if (loader.item === sheet)
                done(answer)
        }
    }

    Connections {
        target: store
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
            callbacks: host.callbacks
            // The catalogue takes a moment to build: once the sheet is up.
            onOpened: Qt.callLater(() => { timezoneOptions = store.timeZoneOptions() })
            onClosed: Qt.callLater(() => { loader.active = false })
        }
    }
}
