import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// One service in the overview: pale green with the names of its restored
// accounts when any is charged, otherwise dark blue-violet with the nearest
// restore. Texts on the charged zone stay dark in both appearances.
Item {
    id: zone

    property string serviceName
    property int restoredCount
    property int activeCount
    property string nextResetText // empty when no countdown runs
    property var restoredAccountNames: []

    readonly property bool charged: restoredCount >= 1
    readonly property color textColor: charged ? light.onSurface : "white"

    // The names line: none, up to four names, or four names and how many more.
    function restoredNamesLabel(names) {
        if (names.length === 0)
            return "Нет восстановленных аккаунтов"
        if (names.length <= 4)
            return names.join(", ")
        return names.slice(0, 4).join(", ") + " и ещё " + (names.length - 4)
    }

    function nextResetLabel(text) { return text !== "" ? text : "Нет активных таймеров" }

    implicitWidth: column.implicitWidth + 32
    implicitHeight: column.implicitHeight + 32

    LightCardPalette { id: light }

    // Across the card: a plain rounded rectangle, where a diagonal one would
    // need an effect layer per card.
    Rectangle {
        objectName: "zoneBackground"
        anchors.fill: parent
        radius: 16
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: zone.charged ? Qt.rgba(0.86, 0.96, 0.88, 1) : Qt.rgba(0.2, 0.3, 0.47, 1) }
            GradientStop { position: 1; color: zone.charged ? Qt.rgba(0.78, 0.93, 0.81, 1) : Qt.rgba(0.41, 0.35, 0.68, 1) }
        }
    }
    Rectangle {
        anchors.fill: parent
        radius: 16
        color: "transparent"
        border.width: 1
        border.color: Theme.withOpacity(Theme.cardStroke, 0.4)
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 16
        spacing: 10

        Label {
            objectName: "zoneTitle"
            Layout.fillWidth: true
            text: zone.serviceName
            textFormat: Text.PlainText
            color: zone.textColor
            font.pixelSize: Theme.headlineSize
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
        }
        Label {
            objectName: "zoneHeading"
            Layout.fillWidth: true
            text: zone.charged ? "Аккаунт доступен для использования:" : "Ближайшее восстановление"
            color: zone.textColor
            font.pixelSize: Theme.subheadlineSize
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
        }
        Label {
            objectName: "zoneDetail"
            Layout.fillWidth: true
            text: zone.charged ? zone.restoredNamesLabel(zone.restoredAccountNames)
                               : zone.nextResetLabel(zone.nextResetText)
            textFormat: Text.PlainText
            color: zone.textColor
            font.pixelSize: Theme.subheadlineSize
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
        }
        RowLayout {
            spacing: 10

            StatusChip {
                objectName: "restoredChip"
                title: "Заряжены"
                value: zone.restoredCount
                tint: Theme.successGreen
                titleColor: light.onSurfaceVariant
            }
            StatusChip {
                objectName: "activeChip"
                title: "Заряжаются"
                value: zone.activeCount
                tint: Theme.primaryBlue
                titleColor: light.onSurfaceVariant
            }
        }
    }

    // A count under its caption on a nearly white plate (in both zone kinds).
    component StatusChip: Rectangle {
        id: chip

        property string title
        property int value
        property color tint
        property color titleColor

        implicitWidth: chipColumn.implicitWidth + 24
        implicitHeight: chipColumn.implicitHeight + 14
        radius: 10
        color: Qt.rgba(1, 1, 1, 0.78)

        Accessible.role: Accessible.StaticText
        Accessible.name: title + ": " + value

        Column {
            id: chipColumn
            anchors.centerIn: parent
            spacing: 2

            Text {
                text: chip.title
                color: chip.titleColor
                font.pixelSize: Theme.caption2Size
                font.weight: Font.DemiBold
                Accessible.ignored: true
            }
            Text {
                text: chip.value
                color: chip.tint
                font.pixelSize: 20
                font.bold: true
                Accessible.ignored: true
            }
        }
    }
}
