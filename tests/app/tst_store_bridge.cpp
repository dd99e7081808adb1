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

    // An operation changes its own rows only; the rows then are the store's.
    void operationsChangeTheirRowsOnly_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("inserted");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("changed");
        QTest::addColumn<int>("events");
        QTest::newRow("use") << "use" << 0 << 0 << 1 << 1;
        QTest::newRow("edit") << "edit" << 0 << 0 << 1 << 1;
        QTest::newRow("archive") << "archive" << 0 << 1 << 0 << 1;
        QTest::newRow("add") << "add" << 1 << 0 << 0 << 1;
        QTest::newRow("add with a manual restore") << "addTimed" << 1 << 0 << 0 << 2;
    }
    void operationsChangeTheirRowsOnly()
    {
        QFETCH(QString, operation);
        QFETCH(int, inserted);
        QFETCH(int, removed);
        QFETCH(int, changed);
        QFETCH(int, events);
        StoreHarness h;
        for (int i = 0; i < 4; ++i)
            h.repository->stored.accounts.append(
                makeAccount(QString::number(i), Service::systemID, utc("2026-01-01T00:00:00Z").addDays(i % 2)));
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        AccountListModel *accounts = bridge.accounts();
        EventListModel *history = bridge.events();
        history->setActive(true);
        store.addAccount("old", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = store.filteredAccounts().at(2).id;

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
        else
            store.addAccount("new", "", "", operation == "addTimed" ? std::optional(h.clock->current) : std::nullopt,
                             false, std::nullopt);

        int changedRows = 0;
        for (const QList<QVariant> &signal : std::as_const(rowsChanged))
            changedRows += signal[1].toModelIndex().row() - signal[0].toModelIndex().row() + 1;
        QCOMPARE(rowsInserted.count(), inserted);
        QCOMPARE(rowsRemoved.count(), removed);
        QCOMPARE(changedRows, changed);
        QCOMPARE(reset.count() + eventsReset.count(), 0);
        QCOMPARE(eventsInserted.count(), events);

        QStringList rowIds, storeIds;
        for (int row = 0; row < accounts->count(); ++row)
            rowIds << accounts->data(accounts->index(row), AccountListModel::AccountIdRole).toString();
        for (const Account &account : store.filteredAccounts())
            storeIds << JsonCoding::uuidString(account.id);
        QCOMPARE(rowIds, storeIds);
    }
};

QTEST_GUILESS_MAIN(StoreBridgeTest)
#include "tst_store_bridge.moc"
