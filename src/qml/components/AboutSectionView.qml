pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The About section: title and version, the developer card, the changelog
// button and, when there are donation wallets, the thank-you text that points
// to them and one card per wallet. It changes no data: every action goes out
// through a signal.
ScrollView {
    id: view

    property string version
    // [{id, title, address, logoFileName, accent}]
    property var wallets: []
    property string developerName
    property string developerTagline

    signal copyAddress(string address)
    signal showQr(var wallet)
    signal showChangelog()
    signal openDeveloperSite()

    contentWidth: availableWidth
    contentHeight: page.implicitHeight
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

    background: Rectangle { color: Theme.surface }

    Item {
        id: page
        implicitWidth: view.availableWidth
        implicitHeight: column.implicitHeight + 48

        ColumnLayout {
            id: column
            x: 24
            y: 24
            // Beyond this the cards would be mostly empty space.
            width: Math.min(page.width - 48, 860)
            spacing: 18

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: header.implicitHeight + 40
                radius: 16
                color: Theme.withOpacity(Theme.cardBackground, 0.95)

                ColumnLayout {
                    id: header
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 10

                    Label {
                        text: "О программе"
                        color: Theme.onSurface
                        font.pixelSize: 32
                        font.bold: true
                    }
                    Label {
                        text: "Версия " + view.version
                        color: Theme.onSurfaceVariant
                        font.pixelSize: Theme.headlineSize
                        font.weight: Font.DemiBold
                    }
                    Label {
                        Layout.fillWidth: true
                        visible: view.wallets.length > 0
                        text: "Если приложение вам полезно, можно отблагодарить автора переводом любой суммы на один из криптокошельков ниже."
                        color: Theme.onSurfaceVariant
                        font.pixelSize: Theme.subheadlineSize
                        wrapMode: Text.WordWrap
                    }
                    DeveloperLinkCard {
                        objectName: "developerCard"
                        Layout.fillWidth: true
                        developerName: view.developerName
                        tagline: view.developerTagline
                        onClicked: view.openDeveloperSite()
                    }
                    AbstractButton {
                        id: changelogButton
                        objectName: "changelogButton"
                        hoverEnabled: true
                        opacity: down ? 0.7 : 1
                        Accessible.role: Accessible.Button
                        Accessible.name: "Открыть историю изменений"
                        Accessible.onPressAction: clicked()
                        onClicked: view.showChangelog()

                        contentItem: Row {
                            spacing: 6
                            Icon {
                                anchors.verticalCenter: parent.verticalCenter
                                iconName: "text-x-generic-symbolic"
                                size: 15
                                color: Theme.primaryBlue
                            }
                            Text {
                                anchors.verticalCenter: parent.verticalCenter
                                text: "Changelog"
                                color: Theme.primaryBlue
                                font.pixelSize: Theme.subheadlineSize
                                font.weight: Font.DemiBold
                                font.underline: changelogButton.hovered
                            }
                        }
                    }
                }
            }

            Repeater {
                model: view.wallets

                WalletCard {
                    required property var modelData
                    required property int index

                    objectName: "walletCard" + index
                    Layout.fillWidth: true
                    title: modelData.title
                    address: modelData.address
                    logoFileName: modelData.logoFileName
                    accent: modelData.accent
                    onCopyRequested: address => view.copyAddress(address)
                    onQrRequested: view.showQr(modelData)
                }
            }
        }
    }
}
