import QtQuick
import Tallyport

// A wallet's logo from the application's resources, fitted into the frame with
// a margin of 4; a coin icon when the file is missing or cannot be loaded.
Item {
    id: icon

    property string fileName
    readonly property bool showsLogo: logo.status === Image.Ready

    implicitWidth: 30
    implicitHeight: 30

    Image {
        id: logo
        anchors.fill: parent
        anchors.margins: 4
        source: icon.fileName !== "" ? "qrc:/Tallyport/data/wallets/" + icon.fileName : ""
        sourceSize: Qt.size(44, 44)
        fillMode: Image.PreserveAspectFit
        visible: icon.showsLogo
    }
    Icon {
        objectName: "fallbackSymbol"
        anchors.centerIn: parent
        visible: !icon.showsLogo
        iconName: "tallyport-coin-symbolic"
        size: Math.min(icon.width, icon.height) - 8
        color: Theme.onSurfaceVariant
    }
}
