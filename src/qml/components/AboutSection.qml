import QtQuick
import Tallyport

// Placeholder until this destination is built.
Item {
    property var shell
}
