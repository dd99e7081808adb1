import QtQuick
import QtTest
import Tallyport

Item {
    id: root
    width: 900
    height: 700

    Component {
        id: historyComponent
        HistoryView { anchors.fill: parent }
    }
    Component {
        id: supportComponent
        SupportContent { anchors.fill: parent }
    }
    Component {
        id: eventsComponent
        ListModel {}
    }

    TestCase {
        name: "HistoryAndHelp"
        when: windowShown

        function events(count) {
            const model = createTemporaryObject(eventsComponent, root)
            for (let i = 0; i < count; ++i)
                model.append({ accountName: "Аккаунт " + i, details: "Запущен недельный отсчет",
                               timestampText: "3 мар. 2026, 00:30" })
            return model
        }

        function test_emptyLogShowsTheEmptyCard() {
            const page = createTemporaryObject(historyComponent, root, { model: events(0), count: 0 })
            const card = findChild(page, "historyEmptyCard")
            verify(card.visible)
            verify(!findChild(page, "historyList").visible)
        }

        function test_eventsAreListedInOrder() {
            const model = events(3)
            const page = createTemporaryObject(historyComponent, root, { model: model, count: 3 })
            const list = findChild(page, "historyList")
            verify(list.visible)
            verify(!findChild(page, "historyEmptyCard").visible)
            tryCompare(list, "count", 3)
            list.forceLayout()
            for (let i = 0; i < 3; ++i) {
                const row = list.itemAtIndex(i)
                compare(row.headline, "Аккаунт " + i)
                compare(row.detailsText, "Запущен недельный отсчет")
                compare(row.timestamp, "3 мар. 2026, 00:30")
            }
        }

        function test_longLogMakesOnlyTheVisibleRows() {
            const page = createTemporaryObject(historyComponent, root, { model: events(5000), count: 5000 })
            const list = findChild(page, "historyList")
            tryCompare(list, "count", 5000)
            list.forceLayout()
            verify(list.itemAtIndex(0) !== null)
            verify(list.itemAtIndex(4999) === null)
            list.positionViewAtEnd()
            tryVerify(() => list.itemAtIndex(4999) !== null)
            compare(list.itemAtIndex(4999).headline, "Аккаунт 4999")
        }

        function test_helpCentreListsItsCards() {
            const page = createTemporaryObject(supportComponent, root)
            const cards = Array.from(findChild(page, "helpCards").children).filter(c => c.title !== undefined)
            compare(cards.length, 9)
            verify(cards.slice(1).every(c => c.items.length > 0))
        }
    }
}
