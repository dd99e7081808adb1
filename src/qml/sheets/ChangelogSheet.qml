import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The changelog, shown exactly as written: Markdown marks stay as typed.
Dialog {
    id: sheet

    property string version
    property string content

    function openWith(text) {
        content = text
        open()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 760
    height: 620
    padding: 22
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    // A dialog on the accessibility bus, named by its title.
    title: "История изменений"
    header: null
    footer: null

    background: SheetPlate { color: Theme.surface }

    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: sheet.opened
        onActivated: sheet.close()
    }

    contentItem: ColumnLayout {
        spacing: 16

        ColumnLayout {
            spacing: 6

            Label {
                text: sheet.title
                color: Theme.onSurface
                font.pixelSize: Theme.title2Size
                font.bold: true
            }
            Label {
                text: "Текущая версия: " + sheet.version
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.subheadlineSize
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: 12
            color: Theme.surfaceContainerLow

            ScrollView {
                id: scroll
                anchors.fill: parent
                anchors.margins: 16
                contentWidth: availableWidth
                ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

                TextEdit {
                    objectName: "changelogText"
                    width: scroll.availableWidth
                    text: sheet.content
                    textFormat: TextEdit.PlainText
                    readOnly: true
                    selectByMouse: true
                    wrapMode: TextEdit.Wrap
                    color: Theme.onSurface
                    selectionColor: Theme.withOpacity(Theme.primaryBlue, 0.3)
                    selectedTextColor: Theme.onSurface
                    font.family: "monospace"
                    font.pixelSize: Theme.bodySize
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "Текст истории изменений"
                }
            }
        }

        RowLayout {
            Item { Layout.fillWidth: true }
            GradientButton {
                objectName: "closeButton"
                text: "Закрыть"
                onClicked: sheet.close()
            }
        }
    }
}
