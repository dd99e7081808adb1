// The store as the window sees it: ids as texts, preferences as plain
// objects, and list models that update in place.
#include "StoreFakes.h"
#include "view/AccountListModel.h"
#include "view/StoreBridge.h"

#include <QSignalSpy>
#include <QTest>

class StoreBridgeTest : public QObject {
    Q_OBJECT

private slots:
    // A drop is taken when any of its texts is an id, in either case; each such account moves.
    void drop_data()
    {
        QTest::addColumn<QStringList>("texts"); // "<id>": the account's
        QTest::addColumn<bool>("moved");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("nothing") << QStringList{} << false << false;
        QTest::newRow("no text is an id") << QStringList{"hello", "{not-a-uuid}"} << false << false;
        QTest::newRow("the id among other texts") << QStringList{"<id>", "hello"} << true << true;
        QTest::newRow("an unknown id") << QStringList{"6F1C2A7E-90AB-4CDE-8F01-23456789ABCD"} << false << true;
    }

    void drop()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, moved);
        QFETCH(bool, accepted);
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        const QString target = bridge.createService("Claude");
        bridge.addAccount("Work", "", "", QDateTime(), false, JsonCoding::uuidString(Service::systemID));
        texts.replaceInStrings("<id>", JsonCoding::uuidString(only(store.accounts()).id).toLower());
        QCOMPARE(bridge.handleAccountDrop(texts, target), accepted);
        QCOMPARE(JsonCoding::uuidString(only(store.accounts()).serviceId),
                 moved ? target : JsonCoding::uuidString(Service::systemID));
    }

    // Unknown values keep the current one; an empty zone is the system's.
    void preferencesCrossAsPlainValues()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        QVariantMap p = bridge.preferences();
        p["timezoneIdentifier"] = "Europe/Moscow";
        p["appearanceMode"] = "sepia";
        bridge.commitPreferences(p);
        QCOMPARE(store.preferences().timezoneIdentifier, std::optional<QString>("Europe/Moscow"));
        QCOMPARE(store.preferences().appearanceMode, AppearanceMode::system);
        p["timezoneIdentifier"] = "";
        bridge.commitPreferences(p);
        QVERIFY(!store.preferences().timezoneIdentifier);
    }

    void accountRowsUpdateInPlaceOnTicks()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        bridge.addAccount("Work", "", "", QDateTime(), false, QString());
        AccountListModel *rows = bridge.accounts();
        const QModelIndex first = rows->index(0);
        QCOMPARE(rows->data(first, AccountListModel::RecoveryTextRole).toString(),
                 QStringLiteral("Восстановление: доступно сейчас"));
        store.toggleNoLimits(only(store.accounts()).id);
        QCOMPARE(rows->data(first, AccountListModel::RecoveryTextRole).toString(),
                 QStringLiteral("Восстановление: отсутствуют лимиты"));
        store.startUsage(only(store.accounts()).id);
        QSignalSpy reset(rows, &QAbstractItemModel::modelReset);
        QSignalSpy changed(rows, &QAbstractItemModel::dataChanged);
        h.ticker->fire(h.clock->current.addSecs(61));
        QCOMPARE(reset.count(), 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(rows->data(first, AccountListModel::RemainingTextRole).toString(), QStringLiteral("6д 23ч 58м 59с"));
        h.ticker->fire(h.clock->current.addSecs(604800));
        QCOMPARE(rows->data(first, AccountListModel::StatusRole).toString(), QStringLiteral("restored"));
        QCOMPARE(rows->data(first, AccountListModel::RemainingTextRole).toString(), QString());
        store.setSearchQuery("nothing matches");
        QCOMPARE(reset.count(), 1);
        QCOMPARE(rows->count(), 0);
    }

    // An operation (or the clock) changes its own rows only; the rows and
    // cards then are the store's.
    void operationsChangeTheirRowsOnly_data()
    {
        QTest::addColumn<QString>("shown"); // a section, or "service": the page of Claude; then the search
        QTest::addColumn<int>("inserted");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("changed");
        QTest::addColumn<int>("events"); // history rows inserted; -1: the history derived anew
        QTest::addColumn<QString>("operation");
        QTest::newRow("use") << "all" << 0 << 0 << 1 << 1 << "use";
        QTest::newRow("edit") << "all" << 0 << 0 << 1 << 1 << "edit";
        QTest::newRow("archive") << "all" << 0 << 1 << 0 << 1 << "archive";
        QTest::newRow("add") << "all" << 1 << 0 << 0 << 1 << "add";
        QTest::newRow("add with a manual restore") << "all" << 1 << 0 << 0 << 2 << "addTimed";
        QTest::newRow("delete") << "all" << 0 << 1 << 0 << 1 << "delete";
        QTest::newRow("move out of the service shown") << "service" << 0 << 1 << 0 << 1 << "moveAway";
        QTest::newRow("move into the service shown, among equals") << "service" << 1 << 0 << 0 << 1 << "moveHere";
        QTest::newRow("use under a search") << "all ACC" << 0 << 0 << 1 << 1 << "use";
        QTest::newRow("edit out of the search") << "all acc" << 0 << 1 << 0 << -1 << "edit";
        QTest::newRow("the clock reaches a restore") << "active" << 0 << 1 << 2 << 0 << "tick";
    }
    void operationsChangeTheirRowsOnly()
    {
        QFETCH(QString, shown);
        QFETCH(int, inserted);
        QFETCH(int, removed);
        QFETCH(int, changed);
        QFETCH(int, events);
        QFETCH(QString, operation);
        const QString search = shown.section(u' ', 1);
        shown = shown.section(u' ', 0, 0);
        // acc0..acc5 alternate between the system service and Claude, created
        // on three days (two per day); the first three restore an hour apart,
        // acc2 first. Each has one event.
        StoreHarness h;
        const Service claude = makeService("Claude");
        h.repository->stored.services.append(claude);
        for (int i = 0; i < 6; ++i) {
            Account account = makeAccount("acc" + QString::number(i), i % 2 ? claude.id : Service::systemID,
                                          utc("2026-01-01T00:00:00Z").addDays(i % 3));
            if (i < 3)
                account.resetAt = h.clock->current.addSecs(3600 * (3 - i));
            h.repository->stored.accounts.append(account);
            h.repository->stored.events.append(
                {QUuid::createUuid(), account.id, AccountEventType::used, account.createdAt, "Запущен отсчет"});
        }
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        AccountListModel *accounts = bridge.accounts();
        EventListModel *history = bridge.events();
        history->setActive(true);
        store.addAccount("old", "", "", std::nullopt, false, std::nullopt);
        if (shown == "service")
            store.selectService(claude.id);
        else
            store.setSelectedDestinationId("section:" + shown);
        store.setSearchQuery(search);
        // acc4 goes to Claude after acc1, created the same day and stored earlier.
        const QUuid id = store.accounts().at(operation == "moveHere" ? 4 : 1).id;
        // Read before the clock moves: the count must not be kept past a restore.
        const int activeBefore = bridge.activeCount();

        QSignalSpy rowsInserted(accounts, &QAbstractItemModel::rowsInserted);
        QSignalSpy rowsRemoved(accounts, &QAbstractItemModel::rowsRemoved);
        QSignalSpy rowsChanged(accounts, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(accounts, &QAbstractItemModel::modelReset);
        QSignalSpy eventsInserted(history, &QAbstractItemModel::rowsInserted);
        QSignalSpy eventsReset(history, &QAbstractItemModel::modelReset);
        if (operation == "use")
            store.startUsage(id);
        else if (operation == "edit")
            store.updateAccount(id, "renamed", "", "", std::nullopt, false, std::nullopt);
        else if (operation == "archive")
            store.archiveAccount(id);
        else if (operation == "delete")
            store.deleteAccount(id);
        else if (operation == "moveAway")
            store.moveAccountToService(id, Service::systemID);
        else if (operation == "moveHere")
            store.moveAccountToService(id, claude.id);
        else if (operation == "tick")
            h.ticker->fire(h.clock->current.addSecs(3600));
        else
            store.addAccount("new", "", "", operation == "addTimed" ? std::optional(h.clock->current) : std::nullopt,
                             false, std::nullopt);

        int changedRows = 0;
        for (const QList<QVariant> &signal : std::as_const(rowsChanged))
            changedRows += signal[1].toModelIndex().row() - signal[0].toModelIndex().row() + 1;
        QCOMPARE(rowsInserted.count(), inserted);
        QCOMPARE(rowsRemoved.count(), removed);
        QCOMPARE(changedRows, changed);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(eventsReset.count(), events < 0 ? 1 : 0);
        if (events >= 0)
            QCOMPARE(eventsInserted.count(), events);
        if (shown == "active") {
            QCOMPARE(accounts->count(), activeBefore - removed);
            QCOMPARE(bridge.activeCount(), accounts->count());
        }

        QStringList rowIds, storeIds;
        for (int row = 0; row < accounts->count(); ++row)
            rowIds << accounts->data(accounts->index(row), AccountListModel::AccountIdRole).toString();
        for (const Account &account : store.filteredAccounts())
            storeIds << JsonCoding::uuidString(account.id);
        QCOMPARE(rowIds, storeIds);
        rowIds.clear(), storeIds.clear();
        for (int row = 0; row < history->count(); ++row)
            rowIds << history->data(history->index(row), EventListModel::EventIdRole).toString();
        for (const AccountEvent &event : store.filteredEvents())
            storeIds << JsonCoding::uuidString(event.id);
        QCOMPARE(rowIds, storeIds);
        QStringList cards, storeCards;
        ServiceOverviewModel *overviews = bridge.overviews();
        for (int row = 0; row < overviews->count(); ++row) {
            QStringList card;
            for (int role = ServiceOverviewModel::ServiceNameRole;
                 role <= ServiceOverviewModel::RestoredAccountNamesRole; ++role) {
                const QVariant value = overviews->data(overviews->index(row), role);
                card << (value.typeId() == QMetaType::QStringList ? value.toStringList().join('+') : value.toString());
            }
            cards << card.join('|');
        }
        for (const ServiceOverview &o : store.serviceOverviews())
            storeCards << QStringList{o.serviceName, QString::number(o.restoredCount), QString::number(o.activeCount),
                                      o.nextReset ? bridge.dateText(*o.nextReset) : QString(),
                                      o.restoredAccountNames.join('+')}
                              .join('|');
        QCOMPARE(cards, storeCards);
    }
};

QTEST_GUILESS_MAIN(StoreBridgeTest)
#include "tst_store_bridge.moc"
