pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Tallyport

// A drop-down picker for the sheets: the field look of SheetTextField with a
// chevron, and a menu of the choices drawn in the palette, so that it
// follows the appearance like the rest of the sheet.
ComboBox {
    id: combo

    leftPadding: 12
    rightPadding: 12 + indicator.width + 8
    topPadding: 9
    bottomPadding: 9
    font.pixelSize: Theme.bodySize
    hoverEnabled: true

    // A read-only field rather than a plain Text: assistive technologies read
    // the current choice from it.
    contentItem: T.TextField {
        implicitWidth: contentWidth
        implicitHeight: contentHeight
        padding: 0
        text: combo.displayText
        enabled: false
        readOnly: true
        color: Theme.onSurface
        font: combo.font
        verticalAlignment: Text.AlignVCenter
    }

    indicator: Icon {
        x: combo.width - width - 12
        y: (combo.height - height) / 2
        iconName: "pan-down-symbolic"
        size: 14
        color: Theme.onSurfaceVariant
    }

    background: Rectangle {
        implicitWidth: 160
        radius: 10
        color: combo.hovered || combo.pressed ? Theme.surfaceContainerHigh : Theme.surfaceContainerHighest
        border.width: combo.visualFocus ? 2 : 0
        border.color: Theme.primaryBlue
    }

    delegate: MenuItem {
        id: item

        required property int index

        width: ListView.view ? ListView.view.width : implicitWidth
        text: combo.textAt(index)
        highlighted: combo.highlightedIndex === index
        hoverEnabled: combo.hoverEnabled
        leftPadding: 10
        rightPadding: 10
        topPadding: 7
        bottomPadding: 7

        contentItem: Text {
            text: item.text
            textFormat: Text.PlainText
            color: item.highlighted ? "white" : Theme.onSurface
            font: combo.font
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 6
            color: item.highlighted ? Theme.primaryBlue : "transparent"
        }
    }

    popup: Popup {
        y: combo.height + 4
        width: combo.width
        implicitHeight: Math.min(contentItem.implicitHeight + topPadding + bottomPadding, 320)
        padding: 5

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: combo.popup.visible ? combo.delegateModel : null
            currentIndex: combo.highlightedIndex
            highlightMoveDuration: 0
            ScrollIndicator.vertical: ScrollIndicator {}
        }

        background: Rectangle {
            radius: 10
            color: Theme.cardBackground
            border.width: 1
            border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
        }
    }
}
