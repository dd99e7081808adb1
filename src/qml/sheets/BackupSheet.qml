import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The frame of the export and import sheets: a title, the fields declared
// inside, the archive password and the buttons "Отмена" and the action. The
// action stays disabled while the password is empty (spaces count as a
// password); it reports `submitted` with the password exactly as typed and
// closes. However the sheet closes, the password is cleared.
Dialog {
    id: sheet

    property string actionText
    property string cancelAccessibleName: "Отмена"
    readonly property alias password: passwordField.password
    readonly property bool canSubmit: password.length > 0
    default property alias fields: extraFields.data

    signal submitted(string password)

    function submit() {
        if (!canSubmit)
            return
        submitted(password)
        close()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 460
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    padding: 0
    header: null
    footer: null
    background: GlassCard {}


    onOpened: passwordField.forceActiveFocus(Qt.PopupFocusReason)
    onClosed: passwordField.password = ""

    contentItem: FocusScope {
        implicitWidth: layout.implicitWidth + 2 * layout.anchors.margins
        implicitHeight: layout.implicitHeight + 2 * layout.anchors.margins

        Keys.onReturnPressed: sheet.submit()
        Keys.onEnterPressed: sheet.submit()

        ColumnLayout {
            id: layout
            anchors.fill: parent
            anchors.margins: 24
            spacing: 16

            Text {
                Layout.fillWidth: true
                text: sheet.title
                color: Theme.onSurface
                font.pixelSize: Theme.title2Size
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }

            ColumnLayout {
                id: extraFields
                Layout.fillWidth: true
                visible: children.length > 0
                spacing: 12
            }

            PasswordField {
                id: passwordField
                objectName: "passwordField"
                Layout.fillWidth: true
                placeholderText: "Пароль архива"
                label: "Пароль архива"
                onAccepted: sheet.submit()
            }

            RowLayout {
                Layout.fillWidth: true
                Layout.topMargin: 4
                spacing: 12

                Item { Layout.fillWidth: true }

                PreferencesButton {
                    objectName: "cancelButton"
                    text: "Отмена"
                    Accessible.name: sheet.cancelAccessibleName
                    onClicked: sheet.close()
                }
                GradientButton {
                    objectName: "submitButton"
                    text: sheet.actionText
                    enabled: sheet.canSubmit
                    onClicked: sheet.submit()
                }
            }
        }
    }
}
