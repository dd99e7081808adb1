import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// The summary above the list of all accounts: the totals of services and
// accounts, then one zone per service (or a card saying there are none).
// `zones` is a model with the roles serviceName, restoredCount, activeCount,
// nextResetText and restoredAccountNames.
ColumnLayout {
    id: cards

    property int servicesCount
    property int accountsCount
    property var zones

    readonly property bool hasZones: zoneRepeater.count > 0

    spacing: 16

    Rectangle {
        objectName: "summaryCard"
        Layout.fillWidth: true
        implicitHeight: summary.implicitHeight + 48
        implicitWidth: summary.implicitWidth + 48
        radius: 16
        color: Theme.surfaceContainerLow

        ColumnLayout {
            id: summary
            anchors.fill: parent
            anchors.margins: 24
            spacing: 14

            Label {
                Layout.fillWidth: true
                text: "Обзор системы"
                color: Theme.onSurface
                font.pixelSize: 34
                font.bold: true
                wrapMode: Text.Wrap
            }
            Label {
                Layout.fillWidth: true
                text: "Следите за состоянием аккаунтов по каждому сервису."
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.subheadlineSize
                wrapMode: Text.Wrap
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 12

                MetricCard {
                    objectName: "servicesMetric"
                    title: "ВСЕГО СЕРВИСОВ"
                    value: cards.servicesCount
                    valueColor: Theme.onSurface
                }
                MetricCard {
                    objectName: "accountsMetric"
                    title: "ВСЕГО АККАУНТОВ"
                    value: cards.accountsCount
                    valueColor: Theme.primaryBlue
                }
            }
        }
    }

    Rectangle {
        objectName: "noServicesCard"
        visible: !cards.hasZones
        Layout.fillWidth: true
        implicitHeight: emptyColumn.height + 32
        radius: 14
        color: Theme.cardBackground

        // Centred on each other, the pair sits at the leading edge.
        Column {
            id: emptyColumn
            x: 16
            y: 16
            width: Math.min(Math.max(emptyTitle.implicitWidth, emptySubtitle.implicitWidth), parent.width - 32)
            spacing: 8

            Label {
                id: emptyTitle
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, emptyColumn.width)
                horizontalAlignment: Text.AlignHCenter
                text: "Пока нет сервисов"
                color: Theme.onSurface
                font.pixelSize: Theme.headlineSize
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
            }
            Label {
                id: emptySubtitle
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, emptyColumn.width)
                horizontalAlignment: Text.AlignHCenter
                text: "Создайте первый сервис в sidebar, чтобы видеть детальную сводку."
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.subheadlineSize
                wrapMode: Text.Wrap
            }
        }
    }

    ColumnLayout {
        visible: cards.hasZones
        Layout.fillWidth: true
        spacing: 12

        Repeater {
            id: zoneRepeater
            model: cards.zones

            ServiceZone {
                required property var model

                Layout.fillWidth: true
                serviceName: model.serviceName
                restoredCount: model.restoredCount
                activeCount: model.activeCount
                nextResetText: model.nextResetText || ""
                restoredAccountNames: model.restoredAccountNames || []
            }
        }
    }

    // A total under its caption; the two share the row equally.
    component MetricCard: Rectangle {
        id: metric

        property string title
        property int value
        property color valueColor

        Layout.fillWidth: true
        Layout.preferredWidth: 1
        implicitHeight: metricColumn.implicitHeight + 32
        radius: 12
        color: Theme.surface

        Accessible.role: Accessible.StaticText
        Accessible.name: title + ": " + value

        ColumnLayout {
            id: metricColumn
            anchors.fill: parent
            anchors.margins: 16
            spacing: 8

            Text {
                text: metric.title
                color: Theme.onSurfaceVariant
                font.pixelSize: Theme.captionSize
                font.weight: Font.DemiBold
                Accessible.ignored: true
            }
            Text {
                text: metric.value
                color: metric.valueColor
                font.pixelSize: 46
                font.weight: Font.Black
                Accessible.ignored: true
            }
        }
    }
}
