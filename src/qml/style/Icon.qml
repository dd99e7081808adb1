import QtQuick
import QtQuick.Controls.impl

// A symbol from the desktop's icon theme, or one of the SVGs the application
// ships, tinted with `color` (monochrome icons take the colour, keeping their
// shape's alpha).
IconImage {
    property string symbol
    property real size: 16

    readonly property string resolved: Theme.iconName(symbol)
    readonly property bool shipped: resolved.startsWith("qrc:")

    name: shipped ? "" : resolved
    source: shipped ? resolved : ""
    sourceSize: Qt.size(size, size)
    width: size
    height: size
    color: Theme.onSurfaceVariant
    Accessible.ignored: true
}
