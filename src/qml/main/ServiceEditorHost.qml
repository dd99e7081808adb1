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
        sheet().openForRename(Store.serviceName(id))
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
                    Store.renameService(host.serviceId, name)
                else
                    Store.createService(name)
                sheet.close()
            }
            onCancelled: sheet.close()
            // Qt 6.4's qmllint takes Qt.callLater for a property.
            onClosed: Qt.callLater(() => { loader.active = false }) // qmllint disable type
        }
    }
}
