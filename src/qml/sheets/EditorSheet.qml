import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The frame the editor sheets share: a modal, dimmed, centred glass card with
// a header (title and subtitle), the form declared inside it, and a footer
// with "Отмена" and "Сохранить". The sheet never closes itself: it reports
// `saveRequested` (Return or "Сохранить", only while `canSave`) and
// `cancelled` (Escape or "Отмена"); its owner decides and closes it.
// A Dialog is a dialog to assistive technologies, named after its title.
Dialog {
    id: sheet

    property string subtitle
    property bool canSave: false
    property string saveAccessibleName: "Сохранить"
    property real formTopMargin: 20
    property real formSpacing: 16
    property int formAlignment: Qt.AlignHCenter
    // Takes the focus whenever the sheet opens.
    property Item initialFocusItem
    default property alias formData: form.data

    signal saveRequested()
    signal cancelled()

    function requestSave() {
        if (canSave)
            saveRequested()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.NoAutoClose
    padding: 0
    header: null
    footer: null

    background: GlassCard {}

    onOpened: {
        if (initialFocusItem)
            initialFocusItem.forceActiveFocus(Qt.PopupFocusReason)
    }

    contentItem: FocusScope {
        implicitWidth: layout.implicitWidth
        implicitHeight: layout.implicitHeight

        // Fields ignore Return and Escape, so both reach this point from
        // anywhere in the sheet; a list or popup that uses them keeps them.
        Keys.onReturnPressed: sheet.requestSave()
        Keys.onEnterPressed: sheet.requestSave()
        Keys.onEscapePressed: sheet.cancelled()

        ColumnLayout {
            id: layout
            anchors.fill: parent
            spacing: 0

            ColumnLayout {
                Layout.fillWidth: true
                Layout.leftMargin: 24
                Layout.rightMargin: 24
                Layout.topMargin: 26
                spacing: 4

                Text {
                    Layout.fillWidth: true
                    text: sheet.title
                    color: Theme.onSurface
                    font.pixelSize: Theme.title2Size
                    font.weight: Font.DemiBold
                    wrapMode: Text.WordWrap
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: sheet.subtitle
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.subheadlineSize
                    wrapMode: Text.WordWrap
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }

            ColumnLayout {
                id: form
                Layout.fillWidth: true
                Layout.leftMargin: 24
                Layout.rightMargin: 24
                Layout.topMargin: sheet.formTopMargin
                Layout.bottomMargin: 20
                Layout.alignment: sheet.formAlignment
                spacing: sheet.formSpacing
            }

            Item {
                Layout.fillWidth: true
                implicitHeight: buttons.implicitHeight + 40

                // Reaches the card's edges: clipped to its rounded bottom corners.
                Item {
                    anchors.fill: parent
                    clip: true

                    Rectangle {
                        anchors.fill: parent
                        anchors.topMargin: -radius
                        radius: 16
                        color: Theme.withOpacity(Theme.surfaceContainerLow, 0.6)
                    }
                }

                RowLayout {
                    id: buttons
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 12

                    Item { Layout.fillWidth: true }

                    Button {
                        id: cancelButton
                        objectName: "cancelButton"
                        text: "Отмена"
                        leftPadding: 14
                        rightPadding: 14
                        topPadding: 8
                        bottomPadding: 8
                        hoverEnabled: true
                        Accessible.name: "Отмена"
                        Accessible.onPressAction: clicked()
                        onClicked: sheet.cancelled()

                        contentItem: Text {
                            text: cancelButton.text
                            color: Theme.onSurface
                            font.pixelSize: Theme.subheadlineSize
                            font.weight: Font.Medium
                            horizontalAlignment: Text.AlignHCenter
                            verticalAlignment: Text.AlignVCenter
                        }
                        background: Rectangle {
                            radius: 10
                            color: cancelButton.down ? Theme.surfaceContainerHighest
                                                     : cancelButton.hovered ? Theme.surfaceContainerHigh
                                                                            : Theme.cardBackground
                            border.width: 1
                            border.color: cancelButton.visualFocus ? Theme.primaryBlue
                                                                   : Theme.withOpacity(Theme.onSurfaceVariant, 0.25)
                        }
                    }

                    GradientButton {
                        objectName: "saveButton"
                        text: "Сохранить"
                        enabled: sheet.canSave
                        Accessible.name: sheet.saveAccessibleName
                        onClicked: sheet.requestSave()
                    }
                }
            }
        }
    }
}
