import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// A wallet's address as a QR code (from the "qr" image provider, 280 x 280,
// modules kept sharp), with the address as text beneath.
Dialog {
    id: sheet

    // {title, address}; null while closed.
    property var wallet: null
    readonly property string address: wallet ? wallet.address : ""
    readonly property bool hasCode: qrImage.status === Image.Ready

    function openFor(value) {
        wallet = value
        open()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 420
    padding: 24
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    // A dialog on the accessibility bus, named by its title.
    title: wallet ? wallet.title : ""
    header: null
    footer: null
    onClosed: wallet = null

    background: SheetPlate { color: Theme.surfaceContainerLow }

    Shortcut {
        sequences: ["Return", "Enter"]
        enabled: sheet.opened
        onActivated: sheet.close()
    }

    contentItem: ColumnLayout {
        spacing: 16

        Label {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: sheet.availableWidth
            text: sheet.title
            color: Theme.onSurface
            font.pixelSize: 17 // title-3
            font.weight: Font.DemiBold
            elide: Text.ElideRight
        }

        Rectangle {
            objectName: "qrFrame"
            Layout.alignment: Qt.AlignHCenter
            visible: sheet.hasCode
            implicitWidth: 300
            implicitHeight: 300
            radius: 14
            color: "white"

            Image {
                id: qrImage
                objectName: "qrImage"
                anchors.centerIn: parent
                width: 280
                height: 280
                sourceSize.width: 280
                sourceSize.height: 280
                source: sheet.address !== "" ? "image://qr/" + encodeURIComponent(sheet.address) : ""
                // A new image at every opening, nearest-neighbour if scaled at all.
                cache: false
                smooth: false
                mipmap: false
                Accessible.role: Accessible.Graphic
                Accessible.name: "QR-код адреса " + sheet.title
            }
        }
        Label {
            objectName: "qrFailure"
            Layout.alignment: Qt.AlignHCenter
            visible: !sheet.hasCode && qrImage.status !== Image.Loading
            text: "Не удалось сгенерировать QR."
            color: Theme.onSurfaceVariant
            font.pixelSize: Theme.bodySize
        }

        TextEdit {
            objectName: "qrAddress"
            Layout.fillWidth: true
            text: sheet.address
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.WrapAnywhere
            horizontalAlignment: TextEdit.AlignHCenter
            color: Theme.onSurfaceVariant
            selectionColor: Theme.withOpacity(Theme.primaryBlue, 0.3)
            selectedTextColor: Theme.onSurface
            font.family: "monospace"
            font.pixelSize: Theme.captionSize
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        GradientButton {
            objectName: "closeButton"
            Layout.alignment: Qt.AlignHCenter
            text: "Закрыть"
            onClicked: sheet.close()
        }
    }
}
