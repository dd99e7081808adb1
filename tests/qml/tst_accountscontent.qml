import QtQuick
import QtTest
import Tallyport

TestCase {
    id: testCase
    name: "AccountsContent"
    width: 1200
    height: 800
    visible: true
    when: windowShown

    Component {
        id: viewComponent
        AccountsView { width: 1200; height: 800 }
    }
    Component {
        id: accountsModel
        ListModel {
            ListElement {
                accountId: "11111111-1111-1111-1111-111111111111"; name: "Work"; note: ""; hasPassword: true
                status: "active"; remainingText: "6д 23ч"; recoveryText: "Восстановление: 9 марта"
                isArchived: false; hasNoLimits: false
            }
            ListElement {
                accountId: "22222222-2222-2222-2222-222222222222"; name: "Home"; note: "личный"; hasPassword: false
                status: "restored"; remainingText: ""; recoveryText: "Восстановление: 1 марта"
                isArchived: false; hasNoLimits: true
            }
        }
    }
    Component {
        id: emptyModel
        ListModel {}
    }
    SignalSpy { id: spy }

    // With the two accounts unless told otherwise.
    function makeView(properties) {
        const view = createTemporaryObject(viewComponent, testCase,
                                           Object.assign({ accounts: createTemporaryObject(accountsModel, testCase) },
                                                         properties))
        verify(view)
        return view
    }
    function part(item, objectName) {
        const found = findChild(item, objectName)
        verify(found, objectName)
        return found
    }
    function listOf(view) { return part(view, "accountList") }
    // Unloaded parts linger until deleted, hidden.
    function shows(item, objectName) {
        const found = findChild(item, objectName)
        return found !== null && found.visible
    }
    function rowAt(view, index) {
        const list = listOf(view)
        list.forceLayout()
        const slot = list.itemAtIndex(index)
        verify(slot, "row " + index)
        return slot.children[0]
    }

    // An empty list shows the card instead; a service's card names the service.
    function test_emptyListCardByDestination_data() {
        return [
            { tag: "active", destination: "active" },
            { tag: "archive", destination: "archive" },
            { tag: "service", destination: "service", serviceName: "Работа",
              subtitle: "Добавьте аккаунт в «Работа» кнопкой «Добавить»." },
            { tag: "unknown service", destination: "service", serviceName: "",
              subtitle: "Добавьте аккаунт в «сервисе» кнопкой «Добавить»." },
        ]
    }
    function test_emptyListCardByDestination(data) {
        const view = makeView({ destination: data.destination, serviceName: data.serviceName || "",
                                accounts: createTemporaryObject(emptyModel, testCase) })
        const card = part(view, "sectionEmptyState")
        verify(card.visible)
        if (data.subtitle)
            compare(card.subtitle, data.subtitle)
        verify(!listOf(view).visible)
    }

    function test_allAccountsWithoutAccountsKeepsOverviewAndOffersTheFirstAccount() {
        const view = makeView({ destination: "all", accounts: createTemporaryObject(emptyModel, testCase) })
        verify(!part(view, "sectionEmptyState").visible)
        const list = listOf(view)
        verify(list.visible)
        verify(shows(list.headerItem, "overviewCards"))
        const placeholder = findChild(list.footerItem, "emptyStateView")
        verify(placeholder && placeholder.visible)
        spy.clear()
        spy.target = view
        spy.signalName = "addRequested"
        placeholder.add()
        compare(spy.count, 1)
    }

    function test_headerByDestination_data() {
        return [
            { tag: "all", destination: "all", overview: {}, overviewCards: true, header: false },
            { tag: "active", destination: "active", overview: {}, overviewCards: false, header: false },
            { tag: "service", destination: "service", overview: { restoredCount: 1, activeCount: 1, nextResetText: "" },
              overviewCards: false, header: true },
            { tag: "service without overview", destination: "service", overview: {}, overviewCards: false,
              header: false },
        ]
    }
    function test_headerByDestination(data) {
        const view = makeView({ destination: data.destination, serviceName: "OpenAI", serviceOverview: data.overview })
        const list = listOf(view)
        compare(shows(list.headerItem, "overviewCards"), data.overviewCards)
        compare(shows(list.headerItem, "serviceHeaderCard"), data.header)
        verify(!part(view, "sectionEmptyState").visible)
    }

    function test_headerFollowsTheDestination() {
        const view = makeView({ destination: "all" })
        const list = listOf(view)
        verify(list.headerItem.height > 200)
        view.destination = "archive"
        verify(!shows(list.headerItem, "overviewCards"))
        tryCompare(list.headerItem, "height", 24)
        view.serviceOverview = { restoredCount: 0, activeCount: 0, nextResetText: "" }
        view.destination = "service"
        verify(shows(list.headerItem, "serviceHeaderCard"))
        tryVerify(() => list.headerItem.height > 24 + 16)
        const withCard = list.headerItem.height
        view.destination = "all"
        verify(!shows(list.headerItem, "serviceHeaderCard"))
        tryVerify(() => list.headerItem.height > withCard)
    }

    function test_serviceHeaderShowsNearestRestoreOnlyWhenPresent() {
        const view = makeView({ destination: "service", serviceName: "OpenAI",
                                serviceOverview: { restoredCount: 2, activeCount: 3, nextResetText: "" } })
        const header = findChild(listOf(view).headerItem, "serviceHeaderCard")
        verify(!part(header, "nextResetText").visible)
        view.serviceOverview = { restoredCount: 2, activeCount: 3, nextResetText: "9 марта, 10:00" }
        verify(part(header, "nextResetText").visible)
        compare(part(header, "nextResetText").text, "Ближайшее: 9 марта, 10:00")
    }

    function test_rowActionsAreReportedWithTheAccountId_data() {
        return [
            { tag: "use", row: 0, signal: "use", reported: "useRequested" },
            { tag: "use again", row: 1, signal: "useAgain", reported: "useRequested" },
            { tag: "edit", row: 0, signal: "edit", reported: "editRequested" },
            { tag: "reset", row: 0, signal: "reset", reported: "resetRequested" },
            { tag: "archive", row: 1, signal: "archive", reported: "archiveRequested" },
            { tag: "restore", row: 1, signal: "restore", reported: "restoreRequested" },
            { tag: "no limits", row: 0, signal: "toggleNoLimits", reported: "noLimitsToggled" },
            { tag: "delete", row: 1, signal: "deleteRequested", reported: "deleteRequested" },
        ]
    }
    function test_rowActionsAreReportedWithTheAccountId(data) {
        const view = makeView({ destination: "all" })
        const accounts = view.accounts
        spy.clear()
        spy.target = view
        spy.signalName = data.reported
        rowAt(view, data.row)[data.signal]()
        compare(spy.count, 1)
        compare(spy.signalArguments[0][0], accounts.get(data.row).accountId)
        if (data.reported === "deleteRequested")
            compare(spy.signalArguments[0][1], accounts.get(data.row).name)
    }

    function test_copyAsksForTheRowsAccount() {
        const asked = []
        const view = makeView({ destination: "all", copyPassword: id => { asked.push(id); return true } })
        rowAt(view, 1).copy()
        compare(asked, [view.accounts.get(1).accountId])
        verify(rowAt(view, 1).didCopyPass)
    }

    function test_archiveRowsAreNeitherDraggableNorRegular_data() {
        return [
            { tag: "archive", destination: "archive", archive: true },
            { tag: "active", destination: "active", archive: false },
            { tag: "service", destination: "service", archive: false },
        ]
    }
    function test_archiveRowsAreNeitherDraggableNorRegular(data) {
        const view = makeView({ destination: data.destination })
        const row = rowAt(view, 0)
        compare(row.isArchiveSection, data.archive)
        compare(row.isDraggable, !data.archive)
    }

    function test_tickUpdatesRowsInPlace() {
        const view = makeView({ destination: "all" })
        const accounts = view.accounts
        const row = rowAt(view, 0)
        accounts.setProperty(0, "remainingText", "6д 22ч")
        compare(rowAt(view, 0), row)
        compare(row.remainingText, "6д 22ч")
    }

    function test_pageShownFromTheTopStaysThereWhenTheDataArrive() {
        const zones = createTemporaryQmlObject("import QtQuick; ListModel {}", testCase)
        const accounts = createTemporaryObject(emptyModel, testCase)
        const view = makeView({ destination: "all", overviews: zones, accounts: accounts })
        const list = listOf(view)
        waitForItemPolished(list)
        verify(list.atYBeginning)
        for (let i = 0; i < 4; ++i)
            zones.append({ serviceName: "Сервис " + i, restoredCount: 0, activeCount: 0, nextResetText: "" })
        const filled = createTemporaryObject(accountsModel, testCase)
        for (let i = 0; i < filled.count; ++i)
            accounts.append(filled.get(i))
        waitForItemPolished(list)
        verify(list.atYBeginning)
    }
}
