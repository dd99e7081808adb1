pragma Singleton
import QtQuick

QtObject {
    property bool dark: false
    readonly property color primaryBlue: Qt.rgba(0, 88 / 255, 188 / 255, 1)
}
