import QtQuick
import QtQuick.Controls
import Tallyport

// The secondary button of the preferences and backup sheets: outlined text
// on the card, in the look of the editors' "Отмена".
Button {
    id: control

    leftPadding: 14
    rightPadding: 14
    topPadding: 8
    bottomPadding: 8
    hoverEnabled: true
    opacity: enabled ? 1 : 0.5
    Accessible.name: text
    Accessible.onPressAction: clicked()

    contentItem: Text {
        text: control.text
        color: Theme.onSurface
        font.pixelSize: Theme.subheadlineSize
        font.weight: Font.Medium
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Rectangle {
        radius: 10
        color: control.down ? Theme.surfaceContainerHighest
                            : control.hovered ? Theme.surfaceContainerHigh : Theme.cardBackground
        border.width: 1
        border.color: control.visualFocus ? Theme.primaryBlue : Theme.withOpacity(Theme.onSurfaceVariant, 0.25)
    }
}
