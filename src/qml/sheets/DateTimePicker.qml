pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// A compact date-and-time field in local time: the label, then day, month,
// year, hour and minute as keyboard-editable segments, and a month calendar
// for picking the day with the pointer. It reports changes through `edited`
// and never assigns `value` itself, so the owner's binding stays in place.
// An edit keeps what is shown and drops the seconds.
RowLayout {
    id: picker

    property var value: new Date()
    property string label

    readonly property int year: value.getFullYear()
    readonly property int month: value.getMonth() + 1
    readonly property int day: value.getDate()
    readonly property int hour: value.getHours()
    readonly property int minute: value.getMinutes()
    readonly property var locale: Qt.locale("ru_RU")

    signal edited(var value)

    component Separator: Text {
        anchors.verticalCenter: parent.verticalCenter
        color: Theme.onSurfaceVariant
        font.pixelSize: Theme.bodySize
        Accessible.ignored: true
    }

    component MonthButton: Button {
        id: monthButton
        property string iconName
        implicitWidth: 28
        implicitHeight: 28
        padding: 0
        hoverEnabled: true
        Accessible.onPressAction: clicked()
        contentItem: Item {
            Icon {
                anchors.centerIn: parent
                iconName: monthButton.iconName
                size: 14
                color: Theme.onSurfaceVariant
            }
        }
        background: Rectangle {
            radius: 14
            color: monthButton.hovered ? Theme.surfaceContainerHigh : "transparent"
        }
    }

    function daysInMonth(y, m) { return new Date(y, m, 0).getDate() }

    // m is 1-based; a day past the month's end becomes its last day.
    function compose(y, m, d, h, min) {
        return new Date(y, m - 1, Math.min(d, daysInMonth(y, m)), h, min, 0, 0)
    }

    function focusSegment(index) {
        const segments = [daySegment, monthSegment, yearSegment, hourSegment, minuteSegment]
        segments[Math.max(0, Math.min(segments.length - 1, index))].forceActiveFocus(Qt.OtherFocusReason)
    }

    spacing: 8
    Accessible.role: Accessible.Grouping
    Accessible.name: label

    Text {
        Layout.fillWidth: true
        text: picker.label
        color: Theme.onSurface
        font.pixelSize: Theme.bodySize
        elide: Text.ElideRight
        Accessible.ignored: true
    }

    Rectangle {
        implicitWidth: fields.implicitWidth + 16
        implicitHeight: fields.implicitHeight + 8
        radius: 8
        color: Theme.surfaceContainerHighest

        Row {
            id: fields
            anchors.centerIn: parent
            spacing: 0

            DateTimeSegment {
                id: daySegment
                value: picker.day
                from: 1
                to: picker.daysInMonth(picker.year, picker.month)
                accessibleName: "День восстановления"
                onPicked: (v) => picker.edited(picker.compose(picker.year, picker.month, v, picker.hour, picker.minute))
                onCompleted: picker.focusSegment(1)
                onRightRequested: picker.focusSegment(1)
            }
            Separator { text: "." }
            DateTimeSegment {
                id: monthSegment
                value: picker.month
                from: 1
                to: 12
                accessibleName: "Месяц восстановления"
                onPicked: (v) => picker.edited(picker.compose(picker.year, v, picker.day, picker.hour, picker.minute))
                onCompleted: picker.focusSegment(2)
                onLeftRequested: picker.focusSegment(0)
                onRightRequested: picker.focusSegment(2)
            }
            Separator { text: "." }
            DateTimeSegment {
                id: yearSegment
                value: picker.year
                from: 1970
                to: 2100
                digits: 4
                accessibleName: "Год восстановления"
                onPicked: (v) => picker.edited(picker.compose(v, picker.month, picker.day, picker.hour, picker.minute))
                onCompleted: picker.focusSegment(3)
                onLeftRequested: picker.focusSegment(1)
                onRightRequested: picker.focusSegment(3)
            }
            Item { width: 10; height: 1 }
            DateTimeSegment {
                id: hourSegment
                value: picker.hour
                from: 0
                to: 23
                accessibleName: "Час восстановления"
                onPicked: (v) => picker.edited(picker.compose(picker.year, picker.month, picker.day, v, picker.minute))
                onCompleted: picker.focusSegment(4)
                onLeftRequested: picker.focusSegment(2)
                onRightRequested: picker.focusSegment(4)
            }
            Separator { text: ":" }
            DateTimeSegment {
                id: minuteSegment
                value: picker.minute
                from: 0
                to: 59
                accessibleName: "Минуты восстановления"
                onPicked: (v) => picker.edited(picker.compose(picker.year, picker.month, picker.day, picker.hour, v))
                onLeftRequested: picker.focusSegment(3)
            }
        }
    }

    Button {
        id: calendarButton
        objectName: "calendarButton"
        implicitWidth: 32
        implicitHeight: 30
        padding: 0
        hoverEnabled: true
        focusPolicy: Qt.StrongFocus
        Accessible.name: "Выбрать день в календаре"
        Accessible.onPressAction: clicked()
        onClicked: calendar.visible ? calendar.close() : calendar.open()

        contentItem: Item {
            Icon {
                anchors.centerIn: parent
                iconName: "x-office-calendar-symbolic"
                size: 16
                color: Theme.primaryBlue
            }
        }
        background: Rectangle {
            radius: 8
            color: calendarButton.hovered || calendar.visible ? Theme.surfaceContainerHigh : Theme.surfaceContainerHighest
            border.width: calendarButton.visualFocus ? 2 : 0
            border.color: Theme.primaryBlue
        }
    }

    Popup {
        id: calendar

        property int shownMonth: picker.month - 1
        property int shownYear: picker.year
        // Days of the previous month before the first, in the week it starts.
        readonly property int leadingDays: (new Date(shownYear, shownMonth, 1).getDay()
                                            - picker.locale.firstDayOfWeek + 7) % 7

        function showMonth(offset) {
            const first = new Date(shownYear, shownMonth + offset, 1)
            shownMonth = first.getMonth()
            shownYear = first.getFullYear()
        }

        parent: calendarButton
        // Opens upwards: the picker sits at the bottom of its sheet.
        x: calendarButton.width - width
        y: -height - 6
        padding: 12
        focus: true
        onAboutToShow: {
            shownMonth = picker.month - 1
            shownYear = picker.year
        }

        background: Rectangle {
            radius: 12
            color: Theme.cardBackground
            border.width: 1
            border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
        }

        contentItem: ColumnLayout {
            spacing: 6

            RowLayout {
                Layout.fillWidth: true

                MonthButton {
                    iconName: "go-previous-symbolic"
                    Accessible.name: "Предыдущий месяц"
                    onClicked: calendar.showMonth(-1)
                }
                Text {
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    text: {
                        const name = picker.locale.standaloneMonthName(calendar.shownMonth, Locale.LongFormat)
                        return name.charAt(0).toUpperCase() + name.slice(1) + " " + calendar.shownYear
                    }
                    color: Theme.onSurface
                    font.pixelSize: Theme.subheadlineSize
                    font.weight: Font.DemiBold
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                MonthButton {
                    iconName: "go-next-symbolic"
                    Accessible.name: "Следующий месяц"
                    onClicked: calendar.showMonth(1)
                }
            }

            Row {
                spacing: 2
                Repeater {
                    model: 7
                    delegate: Text {
                        required property int index
                        width: 30
                        text: picker.locale.dayName((picker.locale.firstDayOfWeek + index) % 7, Locale.ShortFormat)
                        horizontalAlignment: Text.AlignHCenter
                        color: Theme.onSurfaceVariant
                        font.pixelSize: Theme.caption2Size
                    }
                }
            }

            // Six weeks from the week of the month's first day. Qt 6.4's
            // MonthGrid writes into its delegates' contexts, which it cannot
            // do for delegates with required properties, and says so on
            // every press.
            Grid {
                objectName: "calendarDays"
                columns: 7
                spacing: 2

                Repeater {
                    model: 42
                    delegate: Rectangle {
                        id: cell

                        required property int index
                        readonly property var date: new Date(calendar.shownYear, calendar.shownMonth,
                                                             1 - calendar.leadingDays + index)
                        readonly property bool inMonth: date.getMonth() === calendar.shownMonth
                        readonly property bool selected: date.getDate() === picker.day
                                                         && date.getMonth() === picker.month - 1
                                                         && date.getFullYear() === picker.year
                        readonly property bool today: date.toDateString() === new Date().toDateString()

                        implicitWidth: 30
                        implicitHeight: 28
                        radius: 14
                        color: selected ? Theme.primaryBlue : hover.hovered ? Theme.surfaceContainerHigh : "transparent"
                        border.width: today && !selected ? 1 : 0
                        border.color: Theme.primaryBlue

                        function pick() {
                            picker.edited(picker.compose(date.getFullYear(), date.getMonth() + 1, date.getDate(),
                                                         picker.hour, picker.minute))
                            calendar.close()
                        }

                        Text {
                            anchors.centerIn: parent
                            text: cell.date.getDate()
                            color: cell.selected ? "white"
                                                 : cell.inMonth ? Theme.onSurface
                                                                : Theme.withOpacity(Theme.onSurfaceVariant, 0.5)
                            font.pixelSize: Theme.captionSize
                        }

                        HoverHandler { id: hover }
                        TapHandler { onTapped: cell.pick() }

                        Accessible.role: Accessible.Button
                        Accessible.name: cell.date.toLocaleDateString(picker.locale, "d MMMM yyyy")
                        Accessible.onPressAction: pick()
                    }
                }
            }
        }
    }
}
