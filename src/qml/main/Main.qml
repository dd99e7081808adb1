import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

ApplicationWindow {
    id: window

    required property string appName
    required property string appVersion

    width: 1180
    height: 760
    minimumWidth: 1060
    minimumHeight: 720
    title: ""
    visible: true

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 4

        Label {
            Layout.alignment: Qt.AlignHCenter
            text: window.appName
            font.pixelSize: 28
            font.bold: true
            color: Theme.primaryBlue
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: window.appVersion
            opacity: 0.7
        }
    }
}
