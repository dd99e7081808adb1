import QtQuick
import Tallyport

// Opens the account editor and turns what it hands back into store calls.
// The sheet is built when it opens and released when it closes.
Item {
    id: host

    function sheet() {
        loader.active = true
        return loader.item
    }

    function openForAdd() {
        const selected = Store.selectedServiceId
        const editor = sheet()
        editor.openForAdd(Store.services.toList(), selected !== "" ? selected : editor.systemServiceId)
    }

    function openForEdit(accountId) {
        const account = Store.account(accountId)
        if (!("accountId" in account))
            return
        sheet().openForEdit(Store.services.toList(), account)
    }

    Loader {
        id: loader
        active: false
        sourceComponent: editorComponent
    }

    Component {
        id: editorComponent

        AccountEditorSheet {
            id: sheet

            createService: (name) => Store.createService(name)

            onSaved: (draft) => {
                // An invalid date is how the store is told "no manual moment".
                const resetAt = draft.manualResetEnabled ? draft.manualResetAt : new Date(NaN)
                if (sheet.mode === "edit")
                    Store.updateAccount(draft.accountId, draft.name, draft.note, draft.password, resetAt,
                                        draft.hasNoLimits, draft.serviceId)
                else
                    Store.addAccount(draft.name, draft.note, draft.password, resetAt, draft.hasNoLimits,
                                     draft.serviceId)
                sheet.close()
            }
            onCancelled: sheet.close()
            // Qt 6.4's qmllint takes Qt.callLater for a property.
            onClosed: Qt.callLater(() => { loader.active = false }) // qmllint disable type
        }
    }
}
