import QtQuick
import QtQuick.Controls
import Tallyport

// Stands in for the main window when that cannot open (the data are busy):
// the reason, and "ОК" to quit.
ApplicationWindow {
    id: window

    required property string message

    visible: true
    title: "Tallyport"
    width: 460
    height: 240
    color: Theme.surface

    AlertDialog {
        title: "Tallyport не открылся"
        message: window.message
        Component.onCompleted: open()
        onDismissed: Qt.quit()
    }
}
