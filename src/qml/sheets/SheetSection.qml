import QtQuick
import QtQuick.Layouts
import Tallyport

// A labelled block of an editor form: the caption on top, then the controls
// declared inside, each stretched to the full width.
ColumnLayout {
    property string label

    spacing: 6

    Text {
        Layout.fillWidth: true
        text: parent.label
        color: Theme.onSurfaceVariant
        font.pixelSize: Theme.captionSize
        font.weight: Font.DemiBold
        Accessible.ignored: true
    }
}
