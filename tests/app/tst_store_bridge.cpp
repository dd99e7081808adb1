// The store as the window sees it: ids as texts, dates as JavaScript dates,
// preferences as plain objects, and list models that update in place.
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

    void datesAndPreferencesCrossAsPlainValues()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        bridge.addAccount("No date", "", "", QDateTime(), false, QString());
        bridge.addAccount("Dated", "", "", h.clock->current.addDays(2), false, QString());
        QVERIFY(!store.accounts().at(0).resetAt);
        QCOMPARE(bridge.account(JsonCoding::uuidString(store.accounts().at(1).id)).value("resetAt").toDateTime(),
                 h.clock->current.addDays(2));
        QVERIFY(bridge.account(QStringLiteral("not an id")).isEmpty());

        QVariantMap p = bridge.preferences();
        QCOMPARE(p.value("appearanceMode").toString(), QStringLiteral("system"));
        p["timerFormat"] = "full";
        p["timezoneIdentifier"] = "Europe/Moscow";
        p["appearanceMode"] = "sepia"; // unknown values keep the current one
        bridge.commitPreferences(p);
        QCOMPARE(store.preferences().timerFormat, TimerFormat::full);
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
        QCOMPARE(rows->data(first, AccountListModel::RemainingTextRole).toString(), QStringLiteral("7д 0ч 0м 0с"));
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
};

QTEST_GUILESS_MAIN(StoreBridgeTest)
#include "tst_store_bridge.moc"
