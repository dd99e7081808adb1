import QtQuick
import Tallyport

// Opens the service editor and turns the name it hands back into a create
// or rename call on the store. The sheet exists only while it is open.
Item {
    id: host

    property string serviceId: ""

    function sheet() {
        loader.active = true
        return loader.item
    }

    function openForAdd() {
        serviceId = ""
        sheet().openForAdd()
    }

    function openForRename(id) {
        serviceId = id
        sheet().openForRename(store.serviceName(id))
    }

    Loader {
        id: loader
        active: false
        sourceComponent: editorComponent
    }

    Component {
        id: editorComponent

        ServiceEditorSheet {
            id: sheet

            onSaved: (name) => {
                if (sheet.mode === "rename")
                    store.renameService(host.serviceId, name)
                else
                    store.createService(name)
                sheet.close()
            }
            onCancelled: sheet.close()
            onClosed: Qt.callLater(() => { loader.active = false })
        }
    }
}
