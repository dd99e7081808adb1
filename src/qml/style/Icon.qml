import QtQuick
import QtQuick.Controls.impl

// A symbol from the desktop's icon theme, tinted with `color`.
IconImage {
    property string symbol
    property real size: 16

    name: Theme.iconName(symbol)
    sourceSize: Qt.size(size, size)
    width: size
    height: size
    color: Theme.onSurfaceVariant
    Accessible.ignored: true
}
