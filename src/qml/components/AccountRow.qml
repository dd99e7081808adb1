pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tallyport

// One account as a card: who it is, when its limit comes back, and every
// action on it, each reported by a signal. The row keeps only two transient
// flags: the pointer is over it, and a password copy has just succeeded.
// A focus scope: the list moves the keyboard focus from row to row.
FocusScope {
    id: row

    property string accountId
    property string name
    property string note
    property bool hasPassword
    property string status: "idle" // "idle", "active" or "restored"
    property string remainingText
    property string recoveryText
    property bool isArchived
    property bool hasNoLimits
    property bool isArchiveSection
    property bool isDraggable
    // Copies the password to the clipboard; returns whether it was copied.
    property var copyPassword: () => false
    property int copyFeedbackDuration: 1300

    signal use()
    signal useAgain()
    signal edit()
    signal reset()
    signal archive()
    signal restore()
    signal toggleNoLimits()
    signal deleteRequested()
    // The card was dragged: `image` is its picture (an ItemGrabResult), `hotSpot`
    // where the pointer holds it. The list starts the platform drag, from an
    // item that outlives the row: a drop may remove this row from its list.
    signal dragRequested(var image, point hotSpot)

    property bool didCopyPass: false
    property Menu menu: null // the actions menu while it is open
    readonly property bool isHovered: hover.hovered
    readonly property bool paleGreen: status === "restored"
    readonly property color rowBackground: paleGreen ? Qt.rgba(0.88, 0.97, 0.89, 1)
                                         : isHovered ? Theme.surfaceContainerLow
                                         : Theme.withOpacity(Theme.cardBackground, 0.95)
    readonly property color primaryText: paleGreen ? light.onSurface : Theme.onSurface
    readonly property color secondaryText: paleGreen ? light.onSurfaceVariant : Theme.onSurfaceVariant
    readonly property color chipFill: paleGreen ? light.surfaceContainerHigh : Theme.surfaceContainerHigh

    function copy() {
        // A callback from the owner; Qt 6.4's qmllint cannot tell that a var holds one.
        didCopyPass = copyPassword() === true // qmllint disable type
        if (didCopyPass)
            copyReset.createObject(row, { interval: copyFeedbackDuration })
    }

    // The controls that take the keyboard focus, in Tab order.
    function focusables() {
        const controls = []
        for (const control of [restoreButton, deleteForeverButton, passButton, noLimitsChip, useButton,
                               useAgainButton, menuButton]) {
            if (control.visible && control.enabled)
                controls.push(control)
        }
        return controls
    }
    function focusedPosition() {
        return focusables().findIndex(control => control.activeFocus)
    }
    // Focuses the control at `position` (clamped; -1 is the last one).
    function focusControl(position, reason) {
        const controls = focusables()
        const at = position < 0 ? controls.length - 1 : Math.min(position, controls.length - 1)
        if (at >= 0)
            controls[at].forceActiveFocus(reason)
    }
    // The next or previous control; false when the focus would leave the row.
    function moveFocus(forward) {
        const next = focusedPosition() + (forward ? 1 : -1)
        if (next < 0 || next >= focusables().length)
            return false
        focusControl(next, forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
        return true
    }

    // The actions menu, built when opened: a thousand rows need no thousand menus.
    function openMenu() {
        const opened = (isArchiveSection ? archiveMenu : regularMenu).createObject(row)
        opened.closed.connect(() => {
            if (menu === opened)
                menu = null
            opened.destroy()
        })
        menu = opened
        opened.popup(menuButton, menuButton.width - opened.width, menuButton.height + 4)
    }

    implicitWidth: content.implicitWidth + 32
    implicitHeight: content.implicitHeight + 32

    Accessible.role: Accessible.ListItem
    Accessible.name: "Аккаунт " + name

    Keys.onPressed: (event) => {
        if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            openMenu()
            event.accepted = true
        }
    }

    LightCardPalette { id: light }

    // Each successful copy schedules its own return to the plain label;
    // none cancels another, and they go with the row.
    Component {
        id: copyReset
        Timer {
            running: true
            onTriggered: {
                row.didCopyPass = false
                destroy()
            }
        }
    }

    Shadow {
        anchors.fill: card
        blur: 8
        offset: 6
        opacity: 0.15
    }

    Rectangle {
        id: card
        objectName: "rowBackground"
        anchors.fill: parent
        radius: 14
        color: row.rowBackground
        border.width: 1
        border.color: Theme.cardStroke

        Behavior on color { ColorAnimation { duration: 120; easing.type: Easing.InOutQuad } }
    }

    HoverHandler { id: hover }

    // Under the controls: picks up drags of the card and right clicks.
    MouseArea {
        id: pointer

        property point pressedAt
        property bool dragging: false

        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        preventStealing: row.isDraggable

        onPressed: (mouse) => {
            pressedAt = Qt.point(mouse.x, mouse.y)
            dragging = false
        }
        onPositionChanged: (mouse) => {
            if (!row.isDraggable || dragging || !(mouse.buttons & Qt.LeftButton))
                return
            if (Math.hypot(mouse.x - pressedAt.x, mouse.y - pressedAt.y) < Qt.styleHints.startDragDistance)
                return
            dragging = true
            const hotSpot = Qt.point(pressedAt.x / 2, pressedAt.y / 2)
            row.grabToImage(result => {
                if (pointer.pressed)
                    row.dragRequested(result, hotSpot)
            }, Qt.size(row.width / 2, row.height / 2))
        }
        onClicked: (mouse) => {
            if (mouse.button === Qt.RightButton)
                row.openMenu()
        }
    }

    // One line; when the list is too narrow for the recovery line beside the
    // actions, the actions move to a second line under the texts.
    GridLayout {
        id: content

        readonly property real textsWidth: Math.min(Math.max(recoveryLabel.implicitWidth, 160), 320)
        readonly property bool tooNarrow: row.width < 32 + 40 + 14 + textsWidth + 14 + 12 + 14
                                                      + actionGroup.implicitWidth + 14 + 26
        // Follows tooNarrow once the layout has settled: the actions' width is
        // measured while the layout arranges them, and changing the grid there
        // would arrange it again, and again.
        property bool compact: false

        // A row removed before the call runs has no content left. The linter
        // of Qt 6.4 takes Qt.callLater for a property.
        onTooNarrowChanged: Qt.callLater(() => { if (content) content.compact = content.tooNarrow }) // qmllint disable type
        Component.onCompleted: compact = tooNarrow

        anchors.fill: parent
        anchors.margins: 16
        columns: 5
        columnSpacing: 14
        rowSpacing: 12

        Rectangle {
            Layout.row: 0
            Layout.column: 0
            implicitWidth: 40
            implicitHeight: 40
            radius: 10
            color: row.chipFill

            Icon {
                anchors.centerIn: parent
                iconName: "avatar-default-symbolic"
                size: 18
                color: row.primaryText
            }
        }

        ColumnLayout {
            Layout.row: 0
            Layout.column: 1
            Layout.columnSpan: content.compact ? 3 : 1
            Layout.fillWidth: true
            spacing: 4

            // The name wraps and the row grows with it; the note keeps one line
            // and gives way to the name down to a minimum, so it is elided only
            // when the name, the note and the badge cannot all fit.
            Item {
                id: titleLine

                readonly property real badgeSpace: row.isArchived ? badge.width + 8 : 0
                readonly property real noteMinimum: row.note !== "" ? Math.min(noteText.implicitWidth, 120) + 8 : 0
                // From the font, not from the wrapped name: the layout settles in one pass.
                readonly property real firstLineHeight: nameMetrics.height
                // Room above the name for a badge taller than its first line.
                readonly property real nameTop: row.isArchived ? Math.max(0, (badge.height - firstLineHeight) / 2) : 0

                Layout.fillWidth: true
                implicitWidth: Math.ceil(nameLine.advanceWidth) + 1 + (row.note !== "" ? noteText.implicitWidth + 8 : 0) + badgeSpace
                implicitHeight: Math.max(nameTop + nameText.height, row.isArchived ? badge.y + badge.height : 0)

                FontMetrics {
                    id: nameMetrics
                    font: nameText.font
                }
                // The name's width on one line: a wrapping label's own implicit
                // width follows the width it is given.
                TextMetrics {
                    id: nameLine
                    font: nameText.font
                    text: row.name
                }
                Label {
                    id: nameText
                    objectName: "nameText"
                    y: titleLine.nameTop
                    width: Math.max(0, Math.min(Math.ceil(nameLine.advanceWidth) + 1,
                                                titleLine.width - titleLine.noteMinimum - titleLine.badgeSpace))
                    text: row.name
                    textFormat: Text.PlainText
                    color: row.primaryText
                    font.pixelSize: Theme.headlineSize
                    font.weight: Font.DemiBold
                    wrapMode: Text.Wrap
                }
                Label {
                    id: noteText
                    objectName: "noteText"
                    visible: row.note !== ""
                    x: nameText.width + 8
                    anchors.baseline: nameText.baseline
                    width: Math.max(0, Math.min(implicitWidth, titleLine.width - x - titleLine.badgeSpace))
                    text: row.note
                    textFormat: Text.PlainText
                    color: row.secondaryText
                    font.pixelSize: Theme.subheadlineSize
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
                Rectangle {
                    id: badge
                    objectName: "archivedBadge"
                    visible: row.isArchived
                    x: (noteText.visible ? noteText.x + noteText.width : nameText.width) + 8
                    y: titleLine.nameTop + (titleLine.firstLineHeight - height) / 2
                    implicitWidth: badgeText.implicitWidth + 16
                    implicitHeight: badgeText.implicitHeight + 6
                    radius: height / 2
                    color: row.chipFill

                    Label {
                        id: badgeText
                        anchors.centerIn: parent
                        text: "В архиве"
                        color: row.secondaryText
                        font.pixelSize: Theme.captionSize
                        font.weight: Font.DemiBold
                    }
                }
            }
            Label {
                id: recoveryLabel
                objectName: "recoveryText"
                Layout.fillWidth: true
                text: row.recoveryText
                color: row.secondaryText
                font.pixelSize: Theme.subheadlineSize
                elide: Text.ElideRight
            }
        }

        Item {
            Layout.row: 0
            Layout.column: 2
            visible: !content.compact
            implicitWidth: 12
        }

        RowLayout {
            id: actionGroup
            Layout.row: content.compact ? 1 : 0
            Layout.column: content.compact ? 0 : 3
            Layout.columnSpan: content.compact ? 5 : 1
            Layout.alignment: Qt.AlignRight | Qt.AlignVCenter
            spacing: 8

            RowLayout {
                objectName: "archiveActions"
                visible: row.isArchiveSection
                spacing: 8

                GradientButton {
                    id: restoreButton
                    objectName: "restoreButton"
                    text: "Восстановить"
                    Accessible.name: "Восстановить аккаунт " + row.name
                    onClicked: row.restore()
                }
                Button {
                    id: deleteForeverButton
                    objectName: "deleteForeverButton"
                    text: "Удалить навсегда"
                    Accessible.name: "Удалить навсегда аккаунт " + row.name
                    Accessible.onPressAction: clicked()
                    leftPadding: 12
                    rightPadding: 12
                    topPadding: 7
                    bottomPadding: 7
                    onClicked: row.deleteRequested()

                    contentItem: Text {
                        text: deleteForeverButton.text
                        color: Theme.destructiveRed
                        font.pixelSize: Theme.subheadlineSize
                    }
                    background: Rectangle {
                        radius: 8
                        color: deleteForeverButton.down ? Theme.surfaceContainerHighest : Theme.surfaceContainerHigh
                        border.width: 1
                        border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
                        FocusRing { visible: deleteForeverButton.visualFocus }
                    }
                }
            }

            RowLayout {
                objectName: "listActions"
                visible: !row.isArchiveSection
                spacing: 8

                Button {
                    id: passButton
                    objectName: "passButton"
                    enabled: row.hasPassword
                    opacity: enabled ? 1 : 0.45
                    text: row.didCopyPass ? "Скопировано" : "Скопировать пароль"
                    // Changes with the label, so that a screen reader announces the copy.
                    Accessible.name: (row.didCopyPass ? "Скопировано: пароль " : "Скопировать пароль ") + row.name
                    Accessible.onPressAction: clicked()
                    leftPadding: 12
                    rightPadding: 12
                    topPadding: 6
                    bottomPadding: 6
                    onClicked: row.copy()

                    contentItem: Text {
                        text: passButton.text
                        color: "white"
                        font.pixelSize: Theme.captionSize
                        font.weight: Font.DemiBold
                    }
                    background: Rectangle {
                        radius: 8
                        color: row.didCopyPass ? Theme.successGreen : Theme.primaryBlue
                        FocusRing { visible: passButton.visualFocus }
                    }
                }

                // The no-limits flag; it changes nothing but this look.
                Button {
                    id: noLimitsChip
                    objectName: "noLimitsChip"
                    text: "Лимитов нет"
                    Accessible.name: "Переключить флаг лимитов нет " + row.name
                    Accessible.onPressAction: clicked()
                    leftPadding: 10
                    rightPadding: 10
                    topPadding: 6
                    bottomPadding: 6
                    onClicked: row.toggleNoLimits()

                    readonly property color textColor: row.hasNoLimits ? Theme.neonRed
                                                                       : Theme.withOpacity(row.secondaryText, 0.6)
                    readonly property color fillColor: row.hasNoLimits ? Theme.withOpacity(Theme.neonRed, 0.12)
                                                                       : Theme.withOpacity(row.chipFill, 0.42)
                    readonly property color outlineColor: row.hasNoLimits ? Theme.withOpacity(Theme.neonRed, 0.65)
                                                                          : Theme.withOpacity(row.secondaryText, 0.2)

                    contentItem: Text {
                        text: noLimitsChip.text
                        color: noLimitsChip.textColor
                        font.pixelSize: Theme.captionSize
                        font.weight: Font.DemiBold
                    }
                    background: Rectangle {
                        radius: height / 2
                        color: noLimitsChip.fillColor
                        border.width: 1
                        border.color: noLimitsChip.outlineColor
                        // The neon glow around the outline: a blurred red pill
                        // shared by every row, not an effect layer per chip.
                        BorderImage {
                            z: -1
                            visible: row.hasNoLimits
                            anchors.fill: parent
                            anchors.margins: -8
                            source: "../style/neon-glow.png"
                            border { left: 21; right: 21; top: 21; bottom: 21 }
                            opacity: 0.9
                        }
                        FocusRing {
                            visible: noLimitsChip.visualFocus
                            cornerRadius: parent.radius
                        }
                    }
                }

                GradientButton {
                    id: useButton
                    objectName: "useButton"
                    visible: row.status === "idle"
                    text: "Использовать"
                    Accessible.name: "Использовать аккаунт " + row.name
                    onClicked: row.use()
                }

                Rectangle {
                    objectName: "countdownChip"
                    visible: row.status === "active"
                    implicitWidth: countdownText.implicitWidth + 20
                    implicitHeight: countdownText.implicitHeight + 12
                    radius: height / 2
                    color: Theme.withOpacity(Theme.primaryBlue, 0.1)
                    Accessible.role: Accessible.StaticText
                    Accessible.name: row.remainingText

                    Text {
                        id: countdownText
                        anchors.centerIn: parent
                        text: row.remainingText
                        color: Theme.primaryBlue
                        font.pixelSize: Theme.subheadlineSize
                        font.family: "monospace"
                        Accessible.ignored: true
                    }
                }
                LabelChip {
                    objectName: "activeChip"
                    visible: row.status === "active"
                    text: "Активен"
                    tint: Theme.primaryBlue
                }

                LabelChip {
                    objectName: "restoredChip"
                    visible: row.status === "restored"
                    text: "Лимит восстановлен"
                    tint: Theme.successGreen
                }
                GradientButton {
                    id: useAgainButton
                    objectName: "useAgainButton"
                    visible: row.status === "restored"
                    text: "Использовать снова"
                    Accessible.name: "Использовать аккаунт " + row.name + " снова"
                    onClicked: row.useAgain()
                }
            }
        }

        Button {
            id: menuButton
            objectName: "menuButton"
            Layout.row: 0
            Layout.column: 4
            implicitWidth: 26
            implicitHeight: 26
            padding: 0
            Accessible.name: "Действия для " + row.name
            Accessible.onPressAction: clicked()
            onClicked: row.openMenu()

            contentItem: Item {
                Icon {
                    anchors.centerIn: parent
                    iconName: "view-more-symbolic"
                    size: 16
                    color: row.secondaryText
                }
            }
            background: Rectangle {
                radius: 6
                color: menuButton.hovered || menuButton.down ? Theme.withOpacity(row.secondaryText, 0.12)
                                                             : "transparent"
                FocusRing {
                    visible: menuButton.visualFocus
                    cornerRadius: 6
                }
            }
        }
    }

    Component {
        id: regularMenu
        RowMenu {
            RowMenuItem { text: "Редактировать"; onTriggered: row.edit() }
            RowMenuItem { text: "Сбросить таймер"; onTriggered: row.reset() }
            RowMenuItem { text: "Архивировать"; onTriggered: row.archive() }
            MenuSeparator {
                contentItem: Rectangle {
                    implicitHeight: 1
                    color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
                }
            }
            RowMenuItem { text: "Удалить"; textColor: Theme.destructiveRed; onTriggered: row.deleteRequested() }
        }
    }
    Component {
        id: archiveMenu
        RowMenu {
            RowMenuItem { text: "Удалить навсегда"; textColor: Theme.destructiveRed; onTriggered: row.deleteRequested() }
        }
    }

    component RowMenu: Menu {
        background: Rectangle {
            implicitWidth: 200
            radius: 10
            color: Theme.cardBackground
            border.width: 1
            border.color: Theme.withOpacity(Theme.onSurfaceVariant, 0.2)
        }
    }

    component RowMenuItem: MenuItem {
        id: item

        property color textColor: Theme.onSurface

        contentItem: Text {
            leftPadding: 4
            text: item.text
            color: item.textColor
            font.pixelSize: Theme.bodySize
        }
        background: Rectangle {
            implicitHeight: 30
            radius: 6
            color: item.highlighted ? Theme.withOpacity(Theme.primaryBlue, 0.14) : "transparent"
        }
    }
}
