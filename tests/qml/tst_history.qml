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
            compare(card.title, "История пока пуста")
            compare(card.subtitle, "Здесь будут отображаться действия по аккаунтам.")
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

        function test_helpCentreShowsTheNineCardsInOrder() {
            const page = createTemporaryObject(supportComponent, root)
            const cards = Array.from(findChild(page, "helpCards").children).filter(c => c.title !== undefined)
            compare(cards.map(c => c.title), [
                "Центр помощи", "Быстрый старт", "Управление аккаунтами", "Таймеры и статусы",
                "Флаг «Лимитов нет» и пароли", "Поиск, разделы и история", "Виджет восстановления",
                "Сервисы", "Настройки, уведомления и бэкап"
            ])
            compare(cards[0].subtitle, "Подробная инструкция по всем функциям Tallyport.")
            compare(cards.slice(1).map(c => c.items.length), [3, 4, 4, 3, 3, 3, 4, 4])
            compare(cards[1].items[2], "3. Нажмите «Использовать» в строке аккаунта, чтобы запустить отсчёт на 7 дней.")
            compare(cards[8].items[0], "Настройки применяются сразу во всём приложении; «Сохранить» закрепляет выбор, «Отмена» откатывает к исходным значениям.")
        }
    }
}
