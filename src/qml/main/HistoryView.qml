import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The history log: one row per event of `model` (roles accountName, details,
// timestampText), or the empty card when `count` is 0. The log may hold a
// hundred thousand events, so rows are only made as they scroll into view.
Item {
    id: view

    property var model: null
    property int count: 0

    ContentCard {
        objectName: "historyEmptyCard"
        anchors.fill: parent
        anchors.margins: 24
        visible: view.count === 0
        title: "История пока пуста"
        subtitle: "Здесь будут отображаться действия по аккаунтам."
    }

    ListView {
        id: list
        objectName: "historyList"
        anchors.fill: parent
        visible: view.count > 0
        model: view.model
        spacing: 10
        topMargin: 24
        bottomMargin: 24
        leftMargin: 24
        rightMargin: 24
        clip: true
        reuseItems: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        delegate: EventRow {
            required property string accountName
            required property string details
            required property string timestampText
            width: ListView.view.width - ListView.view.leftMargin - ListView.view.rightMargin
            headline: accountName
            detailsText: details
            timestamp: timestampText
        }
    }

    component EventRow: Rectangle {
        id: row

        property string headline
        property string detailsText
        property string timestamp

        implicitHeight: content.implicitHeight + 28
        radius: 12
        color: Theme.withOpacity(Theme.cardBackground, 0.95)

        RowLayout {
            id: content
            anchors.fill: parent
            anchors.margins: 14
            spacing: 12

            Rectangle {
                Layout.alignment: Qt.AlignTop
                implicitWidth: 28
                implicitHeight: 28
                radius: 14
                color: Theme.withOpacity(Theme.primaryBlue, 0.15)

                Icon {
                    anchors.centerIn: parent
                    iconName: "document-open-recent-symbolic"
                    size: 12
                    color: Theme.primaryBlue
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignTop
                spacing: 4

                Label {
                    Layout.fillWidth: true
                    text: row.headline
                    textFormat: Text.PlainText
                    color: Theme.onSurface
                    font.pixelSize: Theme.headlineSize
                    font.weight: Font.DemiBold
                    wrapMode: Text.Wrap
                }
                Label {
                    Layout.fillWidth: true
                    text: row.detailsText
                    textFormat: Text.PlainText
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.subheadlineSize
                    wrapMode: Text.Wrap
                }
                Label {
                    Layout.fillWidth: true
                    text: row.timestamp
                    color: Theme.onSurfaceVariant
                    font.pixelSize: Theme.captionSize
                }
            }
        }
    }
}
