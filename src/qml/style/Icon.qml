import QtQuick
import QtQuick.Controls.impl

// An icon by its name, tinted with `color` (monochrome icons take the colour,
// keeping their shape's alpha): a freedesktop name from the desktop's icon
// theme, or a "tallyport-" name of an SVG the application ships in icons/.
IconImage {
    id: icon

    property string iconName
    property real size: 16

    readonly property bool shipped: iconName.startsWith("tallyport-")

    name: shipped ? "" : iconName
    source: shipped ? Qt.resolvedUrl("../icons/" + iconName + ".svg") : ""
    sourceSize: Qt.size(icon.size, icon.size)
    width: size
    height: size
    color: Theme.onSurfaceVariant
    Accessible.ignored: true
}
