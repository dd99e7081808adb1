import QtQuick

// The pale green cards (a restored account, a charged service zone) are light
// in both appearances, so what sits on them keeps the light appearance's
// colours: dark text stays readable in dark mode too.
QtObject {
    readonly property color onSurface: Qt.rgba(26 / 255, 27 / 255, 31 / 255, 1)
    readonly property color onSurfaceVariant: Qt.rgba(65 / 255, 71 / 255, 85 / 255, 1)
    readonly property color surfaceContainerHigh: Qt.rgba(233 / 255, 231 / 255, 237 / 255, 1)
}
