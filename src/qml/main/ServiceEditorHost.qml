import QtQuick
import Tallyport

// Placeholder: opens the service editor and wires it to the store.
Item {
    function openForAdd() {}
    function openForRename(serviceId) {}
}
