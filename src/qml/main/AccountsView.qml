import QtQuick
import QtQuick.Controls
import Tallyport

// The account lists: all accounts under the overview cards, the active ones,
// the archive and a service's accounts under its header card. The list is a
// ListView, so only the rows on screen exist however many accounts there are.
// `accounts` has the roles of the store's account list; each row action is
// reported with the account's id.
Item {
    id: view

    property string destination: "all" // "all", "active", "archive" or "service"
    property var accounts
    property int servicesCount
    property int accountsCount
    property var overviews
    property string serviceName // the selected service, empty when it does not exist
    property var serviceOverview: ({}) // restoredCount, activeCount, nextResetText; empty when none
    // Copies an account's password; returns whether it was copied.
    property var copyPassword: accountId => false

    signal addRequested()
    signal useRequested(string accountId)
    signal editRequested(string accountId)
    signal resetRequested(string accountId)
    signal archiveRequested(string accountId)
    signal restoreRequested(string accountId)
    signal noLimitsToggled(string accountId)
    signal deleteRequested(string accountId, string name)

    readonly property bool isAll: destination === "all"
    readonly property bool isArchive: destination === "archive"
    readonly property bool isEmpty: list.count === 0
    readonly property bool hasServiceHeader: destination === "service" && serviceOverview !== undefined
                                             && serviceOverview.restoredCount !== undefined
    readonly property real contentWidth: Math.min(1100, width - 48)

    onDestinationChanged: {
        list.followsTop = true
        list.positionViewAtBeginning()
    }

    // The card that stands for an empty list, by destination.
    function emptyTitle() {
        switch (destination) {
        case "active": return "Нет активных лимитов"
        case "archive": return "Архив пуст"
        case "service": return "В сервисе пока нет аккаунтов"
        }
        return ""
    }
    function emptySubtitle() {
        switch (destination) {
        case "active": return "Запустите отсчет в разделе «Все аккаунты» кнопкой «Использовать»."
        case "archive": return "Здесь появятся аккаунты, перемещенные в архив."
        case "service": return "Добавьте аккаунт в «" + (serviceName !== "" ? serviceName : "сервисе")
                               + "» кнопкой «Добавить»."
        }
        return ""
    }

    // Scrolls the row at `index` into view and focuses it, after the list has
    // taken in the destination it belongs to.
    function revealAccount(accountId, index) {
        Qt.callLater(() => { // qmllint disable type
            list.followsTop = false
            list.positionViewAtIndex(index, ListView.Contain)
            const slot = list.itemAtIndex(index)
            if (slot && slot.accountId === accountId)
                slot.children[0].forceActiveFocus(Qt.OtherFocusReason)
        })
    }

    // Platform drags start here, after the row's own handlers have returned:
    // the drag runs its own event loop, and a drop that moves the account out
    // of this list deletes the row meanwhile.
    property var pendingDrag: null
    function requestDrag(accountId, image, hotSpot) {
        pendingDrag = { accountId: accountId, image: image, hotSpot: hotSpot }
        // Qt 6.4's qmllint takes Qt.callLater for a property.
        Qt.callLater(startPendingDrag) // qmllint disable type
    }
    function startPendingDrag() {
        if (pendingDrag === null)
            return
        dragSource.Drag.mimeData = { "text/plain": pendingDrag.accountId }
        dragSource.Drag.imageSource = pendingDrag.image.url
        dragSource.Drag.hotSpot = pendingDrag.hotSpot
        dragSource.Drag.active = true
        dragSource.Drag.active = false
        pendingDrag = null
    }

    Item {
        id: dragSource
        Drag.dragType: Drag.Automatic
        Drag.supportedActions: Qt.MoveAction | Qt.CopyAction
    }

    // The keyboard walks the rows' controls in the list's order: Tab and
    // Shift+Tab control by control, Up and Down row by row, each focused row
    // scrolled into view. The ListView makes only the rows near the screen,
    // and keeps its rows in the order it made them, so the window's own focus
    // chain would stop at the last row made, or jump about after a scroll.
    function rowAt(index) {
        const slot = list.itemAtIndex(index)
        // The delegate's own property, unknown to qmllint on a plain item.
        return slot ? slot.row : null // qmllint disable type
    }
    function focusRow(index, position, reason) {
        list.positionViewAtIndex(index, ListView.Contain)
        const row = rowAt(index)
        if (row)
            row.focusControl(position, reason)
    }
    function tab(forward) {
        const row = rowAt(list.focusedIndex)
        if (row && row.activeFocus && row.moveFocus(forward))
            return
        const next = list.focusedIndex + (forward ? 1 : -1)
        if (row && row.activeFocus && next >= 0 && next < list.count)
            focusRow(next, forward ? 0 : -1, forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
        else if (forward)
            listEnd.nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
        else
            list.nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
    }
    function stepRow(delta) {
        const row = rowAt(list.focusedIndex)
        const next = list.focusedIndex + delta
        if (row && row.activeFocus && next >= 0 && next < list.count)
            focusRow(next, row.focusedPosition(), delta > 0 ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }

    ContentCard {
        objectName: "sectionEmptyState"
        visible: !view.isAll && view.isEmpty
        anchors.fill: parent
        anchors.margins: 24
        title: view.emptyTitle()
        subtitle: view.emptySubtitle()
    }

    ListView {
        id: list
        objectName: "accountList"
        visible: view.isAll || !view.isEmpty
        anchors.fill: parent
        clip: true
        model: view.accounts
        spacing: view.isAll ? 18 : 16
        boundsBehavior: Flickable.StopAtBounds
        keyNavigationEnabled: false
        Accessible.role: Accessible.List
        Accessible.name: "Аккаунты"

        // The row that has the keyboard focus, or had it last.
        property int focusedIndex: -1

        // Tab from before the list starts at the first row, Shift+Tab from
        // after it at the last.
        onActiveFocusChanged: {
            const reason = activeFocus && Window.activeFocusItem ? Window.activeFocusItem.focusReason : undefined
            if (reason === Qt.TabFocusReason)
                view.focusRow(0, 0, reason)
            else if (reason === Qt.BacktabFocusReason)
                view.focusRow(count - 1, -1, reason)
        }
        Keys.onTabPressed: view.tab(true)
        Keys.onBacktabPressed: view.tab(false)
        Keys.onUpPressed: view.stepRow(-1)
        Keys.onDownPressed: view.stepRow(1)

        // The data arrive, or a service is added, after the page is shown: its
        // header grows and the origin moves. A page that the user has not
        // scrolled away from its top stays at the top.
        property bool followsTop: true
        onOriginYChanged: {
            if (followsTop)
                contentY = originY
        }
        onMovementEnded: followsTop = atYBeginning
        ScrollBar.vertical: ScrollBar {
            onPressedChanged: {
                if (!pressed)
                    list.followsTop = list.atYBeginning
            }
        }

        // The header, the footer and the rows reach the view by its ids. The
        // linter follows ids into components only under "pragma
        // ComponentBehavior: Bound", with which Qt 6.4's ListView creates no
        // header or footer at all.
        // qmllint disable unqualified
        header: Item {
            width: list.width
            height: headerColumn.height + 24 + (headerColumn.height > 0 ? list.spacing : 0)

            Column {
                id: headerColumn
                x: (parent.width - width) / 2
                y: 24
                width: view.contentWidth

                // An unloaded Loader keeps its last height: hidden, the column skips it.
                Loader {
                    width: parent.width
                    active: view.isAll
                    visible: active
                    sourceComponent: OverviewCards {
                        objectName: "overviewCards"
                        servicesCount: view.servicesCount
                        accountsCount: view.accountsCount
                        zones: view.overviews
                    }
                }
                Loader {
                    width: parent.width
                    active: view.hasServiceHeader
                    visible: active
                    sourceComponent: ServiceHeaderCard {
                        objectName: "serviceHeaderCard"
                        name: view.serviceName
                        restoredCount: view.serviceOverview.restoredCount
                        activeCount: view.serviceOverview.activeCount
                        nextResetText: view.serviceOverview.nextResetText
                    }
                }
            }
        }

        footer: Item {
            width: list.width
            height: view.isAll && view.isEmpty
                    ? Math.max(emptyState.implicitHeight, list.height - (list.headerItem ? list.headerItem.height : 0) - 24) + 24
                    : 24

            EmptyStateView {
                id: emptyState
                objectName: "emptyStateView"
                visible: view.isAll && view.isEmpty
                anchors.fill: parent
                anchors.bottomMargin: 24
                anchors.leftMargin: 24
                anchors.rightMargin: 24
                onAdd: view.addRequested()
            }
        }

        delegate: Item {
            id: slot

            required property int index
            required property string accountId
            required property string name
            required property string note
            required property bool hasPassword
            required property string status
            required property string remainingText
            required property string recoveryText
            required property bool isArchived
            required property bool hasNoLimits

            readonly property alias row: accountRow

            width: list.width
            height: accountRow.implicitHeight

            AccountRow {
                id: accountRow
                x: (slot.width - width) / 2
                width: view.contentWidth
                height: implicitHeight
                accountId: slot.accountId
                name: slot.name
                note: slot.note
                hasPassword: slot.hasPassword
                status: slot.status
                remainingText: slot.remainingText
                recoveryText: slot.recoveryText
                isArchived: slot.isArchived
                hasNoLimits: slot.hasNoLimits
                isArchiveSection: view.isArchive
                isDraggable: !view.isArchive
                copyPassword: () => view.copyPassword(slot.accountId)

                onUse: view.useRequested(slot.accountId)
                onUseAgain: view.useRequested(slot.accountId)
                onEdit: view.editRequested(slot.accountId)
                onReset: view.resetRequested(slot.accountId)
                onArchive: view.archiveRequested(slot.accountId)
                onRestore: view.restoreRequested(slot.accountId)
                onToggleNoLimits: view.noLimitsToggled(slot.accountId)
                onDeleteRequested: view.deleteRequested(slot.accountId, slot.name)
                onDragRequested: (image, hotSpot) => view.requestDrag(slot.accountId, image, hotSpot)
                onActiveFocusChanged: {
                    if (!activeFocus)
                        return
                    list.focusedIndex = slot.index
                    // Not under the pointer: a row that moved between press
                    // and release would lose the click.
                    if (Window.activeFocusItem && Window.activeFocusItem.focusReason !== Qt.MouseFocusReason) {
                        list.positionViewAtIndex(slot.index, ListView.Contain)
                        list.followsTop = list.atYBeginning
                    }
                }
            }
        }
        // qmllint enable unqualified
    }

    // Tab from the last row goes on from here.
    Item { id: listEnd }
}
