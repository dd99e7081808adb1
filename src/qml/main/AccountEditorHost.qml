import QtQuick
import Tallyport

// Placeholder: opens the account editor and wires it to the store.
Item {
    function openForAdd() {}
    function openForEdit(accountId) {}
}
