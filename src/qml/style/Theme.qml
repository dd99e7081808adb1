pragma Singleton
import QtQuick

// The shared palette and text sizes. `dark` is bound by the window to the
// effective appearance; adaptive colours follow it at once.
QtObject {
    id: theme

    property bool dark: false

    function adaptive(light, darkVariant) { return dark ? darkVariant : light }

    readonly property color surface: adaptive(Qt.rgba(250 / 255, 249 / 255, 254 / 255, 1), Qt.rgba(14 / 255, 17 / 255, 23 / 255, 1))
    readonly property color surfaceContainerLow: adaptive(Qt.rgba(244 / 255, 243 / 255, 248 / 255, 1), Qt.rgba(22 / 255, 26 / 255, 34 / 255, 1))
    readonly property color surfaceContainerHigh: adaptive(Qt.rgba(233 / 255, 231 / 255, 237 / 255, 1), Qt.rgba(30 / 255, 35 / 255, 46 / 255, 1))
    readonly property color surfaceContainerHighest: adaptive(Qt.rgba(227 / 255, 226 / 255, 231 / 255, 1), Qt.rgba(40 / 255, 47 / 255, 61 / 255, 1))
    readonly property color cardBackground: adaptive(Qt.rgba(1, 1, 1, 1), Qt.rgba(24 / 255, 29 / 255, 39 / 255, 1))
    readonly property color cardStroke: adaptive(Qt.rgba(1, 1, 1, 0.7), Qt.rgba(1, 1, 1, 0.1))
    // QML reads an initialiser of a property named on<Name> beside a property
    // <name> as a handler and drops it, so onSurface is an alias.
    readonly property alias onSurface: theme.primaryText
    readonly property color primaryText: adaptive(Qt.rgba(26 / 255, 27 / 255, 31 / 255, 1), Qt.rgba(235 / 255, 238 / 255, 245 / 255, 1))
    readonly property color onSurfaceVariant: adaptive(Qt.rgba(65 / 255, 71 / 255, 85 / 255, 1), Qt.rgba(162 / 255, 171 / 255, 188 / 255, 1))

    readonly property color primaryBlue: Qt.rgba(0, 88 / 255, 188 / 255, 1)
    readonly property color primaryBlueStrong: Qt.rgba(0, 112 / 255, 235 / 255, 1)
    readonly property color successGreen: Qt.rgba(58 / 255, 156 / 255, 97 / 255, 1)
    readonly property color neonRed: Qt.rgba(1.0, 0.21, 0.29, 1)
    // Destructive buttons of alerts and menus.
    readonly property color destructiveRed: adaptive(Qt.rgba(215 / 255, 0, 21 / 255, 1), Qt.rgba(1, 69 / 255, 58 / 255, 1))

    // A colour with its alpha multiplied by `opacity`.
    function withOpacity(c, opacity) { return Qt.rgba(c.r, c.g, c.b, c.a * opacity) }

    // Text styles, in logical pixels.
    readonly property int title2Size: 20
    readonly property int headlineSize: 14
    readonly property int bodySize: 14
    readonly property int subheadlineSize: 13
    readonly property int captionSize: 12
    readonly property int caption2Size: 11
}
