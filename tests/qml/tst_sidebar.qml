import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 320
    height: 720

    readonly property string systemId: "00000000-0000-0000-0000-000000000001"
    readonly property string workId: "6F1C4A2E-8B0D-4F7A-9E3B-2D5C1A7E9F40"
    readonly property string homeId: "0B7E3F9A-1C2D-4E5F-8A6B-7C8D9E0F1A2B"
    readonly property string accountId: "D3A1B2C4-5E6F-4781-9A0B-C1D2E3F4A5B6"

    ListModel {
        id: servicesModel
        ListElement { serviceId: "00000000-0000-0000-0000-000000000001"; name: "Без сервиса"; isSystem: true }
        ListElement { serviceId: "6F1C4A2E-8B0D-4F7A-9E3B-2D5C1A7E9F40"; name: "Работа"; isSystem: false }
        ListElement { serviceId: "0B7E3F9A-1C2D-4E5F-8A6B-7C8D9E0F1A2B"; name: "Дом"; isSystem: false }
    }

    Component {
        id: sidebarComponent
        Sidebar {
            width: root.width
            height: root.height
            appVersion: "1.14"
            services: servicesModel
        }
    }

    Component {
        id: rowComponent
        SidebarServiceRow {
            width: 240
            serviceId: root.workId
            name: "Работа"
            isSystem: false
        }
    }

    // Stands in for a dragged account row. The text itself only travels with
    // a system drag (the row's), which a test cannot run; this one is internal.
    Component {
        id: dragComponent
        Rectangle {
            property string payload
            width: 4
            height: 4
            Drag.keys: ["text/plain"]
            Drag.mimeData: ({ "text/plain": payload })
            Drag.supportedActions: Qt.MoveAction
            Drag.proposedAction: Qt.MoveAction
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        id: testCase
        name: "Sidebar"
        when: windowShown

        function spy(target, signalName) {
            return createTemporaryObject(spyComponent, testCase, { target: target, signalName: signalName })
        }

        function makeSidebar(properties) {
            const sidebar = createTemporaryObject(sidebarComponent, root, properties || {})
            waitForRendering(sidebar)
            return sidebar
        }

        function serviceRow(sidebar, id) {
            const row = findChild(sidebar, "service:" + id)
            verify(row, "row of " + id)
            return row
        }

        function moveOnto(dragged, item) {
            const at = item.mapToItem(root, item.width / 2, item.height / 2)
            dragged.x = at.x
            dragged.y = at.y
        }

        // An account drag started over a section row, where nothing accepts it.
        function startDrag(sidebar) {
            const dragged = createTemporaryObject(dragComponent, root, { payload: root.accountId })
            moveOnto(dragged, findChild(sidebar, "section:all"))
            dragged.Drag.active = true
            return dragged
        }

        // A drop target looks the same whether or not the row is selected.
        function test_rowColours_data() {
            return [
                { tag: "selected", selected: true, dropTarget: false,
                  background: Theme.withOpacity(Theme.cardBackground, 0.9) },
                { tag: "drop target wins over selection", selected: true, dropTarget: true,
                  background: Theme.withOpacity(Theme.primaryBlue, 0.18) }
            ]
        }

        function test_rowColours(data) {
            const row = createTemporaryObject(rowComponent, root,
                                              { selected: data.selected, dropTarget: data.dropTarget })
            compare(row.background.color, data.background)
            compare(row.contentColor, Theme.primaryBlue)
        }

        function test_contextMenuOnlyForUserServices_data() {
            return [
                { tag: "user service, right click", isSystem: false, byKeyboard: false },
                { tag: "user service, Shift+F10", isSystem: false, byKeyboard: true },
                { tag: "system service, right click", isSystem: true, byKeyboard: false },
                { tag: "system service, Shift+F10", isSystem: true, byKeyboard: true }
            ]
        }

        function test_contextMenuOnlyForUserServices(data) {
            const row = createTemporaryObject(rowComponent, root, { isSystem: data.isSystem })
            const menu = findChild(row, "serviceContextMenu")
            if (data.byKeyboard) {
                row.forceActiveFocus()
                keyClick(Qt.Key_F10, Qt.ShiftModifier)
            } else {
                mouseClick(row, row.width / 2, row.height / 2, Qt.RightButton)
            }
            compare(menu.visible, !data.isSystem)
            menu.close()
        }

        function test_menuItemsReportTheService_data() {
            return [
                { tag: "rename", index: 0, signalName: "renameServiceRequested", args: [root.homeId] },
                { tag: "delete", index: 1, signalName: "deleteServiceRequested", args: [root.homeId, "Дом"] }
            ]
        }

        function test_menuItemsReportTheService(data) {
            const sidebar = makeSidebar()
            const requested = spy(sidebar, data.signalName)
            const row = serviceRow(sidebar, root.homeId)
            const menu = findChild(row, "serviceContextMenu")
            mouseClick(row, row.width / 2, row.height / 2, Qt.RightButton)
            tryCompare(menu, "opened", true)
            mouseClick(menu.itemAt(data.index))
            compare(requested.count, 1)
            compare(Array.from(requested.signalArguments[0]), data.args)
            tryCompare(menu, "visible", false)
        }

        // The store reports the section "all" while a service is selected;
        // only the service's row is then selected.
        function test_selection_data() {
            return [
                { tag: "all accounts", section: "all", serviceId: "", selected: ["section:all"] },
                { tag: "archive", section: "archive", serviceId: "", selected: ["section:archive"] },
                { tag: "a service", section: "all", serviceId: root.workId, selected: ["service:" + root.workId] }
            ]
        }

        function test_selection(data) {
            const sidebar = makeSidebar({ selectedSection: data.section, selectedServiceId: data.serviceId })
            const names = ["section:all", "section:active", "section:history", "section:support",
                           "section:archive", "section:about", "service:" + root.systemId,
                           "service:" + root.workId, "service:" + root.homeId]
            for (const name of names) {
                const row = findChild(sidebar, name)
                verify(row, name)
                compare(row.selected, data.selected.indexOf(name) >= 0, name)
            }
        }

        function test_pressingRowsReportsTheDestination_data() {
            return [
                { tag: "section by mouse", name: "section:history", signalName: "sectionChosen",
                  argument: "history", key: 0 },
                { tag: "section by Space", name: "section:support", signalName: "sectionChosen",
                  argument: "support", key: Qt.Key_Space },
                { tag: "section by Return", name: "section:about", signalName: "sectionChosen",
                  argument: "about", key: Qt.Key_Return },
                { tag: "service by mouse", name: "service:" + root.homeId, signalName: "serviceChosen",
                  argument: root.homeId, key: 0 },
                { tag: "service by Return", name: "service:" + root.workId, signalName: "serviceChosen",
                  argument: root.workId, key: Qt.Key_Return }
            ]
        }

        function test_pressingRowsReportsTheDestination(data) {
            const sidebar = makeSidebar()
            const chosen = spy(sidebar, data.signalName)
            const row = findChild(sidebar, data.name)
            if (data.key === 0) {
                mouseClick(row)
            } else {
                row.forceActiveFocus(Qt.TabFocusReason)
                keyClick(data.key)
            }
            compare(chosen.count, 1)
            compare(chosen.signalArguments[0][0], data.argument)
        }

        function test_rowsAreReachedWithTab() {
            const sidebar = makeSidebar()
            const all = findChild(sidebar, "section:all")
            all.forceActiveFocus(Qt.TabFocusReason)
            keyClick(Qt.Key_Tab)
            verify(findChild(sidebar, "section:active").activeFocus)
            keyClick(Qt.Key_Tab)
            keyClick(Qt.Key_Tab)
            verify(findChild(sidebar, "addServiceButton").activeFocus)
            keyClick(Qt.Key_Tab)
            verify(serviceRow(sidebar, root.systemId).activeFocus)
        }

        function test_addServiceButton() {
            const sidebar = makeSidebar()
            const requested = spy(sidebar, "addServiceRequested")
            mouseClick(findChild(sidebar, "addServiceButton"))
            compare(requested.count, 1)
        }

        function test_dragHighlightsOnlyTheRowUnderIt() {
            const sidebar = makeSidebar()
            const work = serviceRow(sidebar, root.workId)
            const home = serviceRow(sidebar, root.homeId)
            const dragged = startDrag(sidebar)

            // Moves of a drag are delivered from the event loop.
            moveOnto(dragged, work)
            tryCompare(sidebar, "dropTargetServiceId", root.workId)
            verify(work.dropTarget)
            moveOnto(dragged, home)
            tryCompare(sidebar, "dropTargetServiceId", root.homeId)
            verify(!work.dropTarget)
            verify(home.dropTarget)
            moveOnto(dragged, findChild(sidebar, "section:all"))
            tryCompare(sidebar, "dropTargetServiceId", "")
            dragged.Drag.active = false
        }

        function test_dropIsAcceptedAsTheHandlerSays_data() {
            return [
                { tag: "moved", handled: true, action: Qt.MoveAction },
                { tag: "nothing parsed", handled: false, action: Qt.IgnoreAction }
            ]
        }

        function test_dropIsAcceptedAsTheHandlerSays(data) {
            const calls = []
            const sidebar = makeSidebar({
                dropHandler: (texts, serviceId) => {
                    calls.push([texts, serviceId])
                    return data.handled
                }
            })
            const dragged = startDrag(sidebar)
            moveOnto(dragged, serviceRow(sidebar, root.workId))
            tryCompare(sidebar, "dropTargetServiceId", root.workId)

            compare(dragged.Drag.drop(), data.action)
            compare(calls.length, 1)
            compare(calls[0][0].length, 1)
            compare(calls[0][1], root.workId)
            compare(sidebar.dropTargetServiceId, "")
        }
    }
}
