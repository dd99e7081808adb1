import QtQuick
import Tallyport

// Placeholder: opens the preferences sheet and wires it to the store.
Item {
    function open() {}
}
