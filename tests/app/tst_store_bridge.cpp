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
    void dropMovesEveryParsedIdAndReportsWhetherAnyParsed_data()
    {
        QTest::addColumn<bool>("includeAccount");
        QTest::addColumn<QStringList>("garbage");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("nothing dropped") << false << QStringList{} << false;
        QTest::newRow("no text is an id") << false << QStringList{"hello", "{not-a-uuid}"} << false;
        QTest::newRow("an id among other texts") << true << QStringList{"hello"} << true;
        QTest::newRow("an unknown but well-formed id")
            << false << QStringList{"6F1C2A7E-90AB-4CDE-8F01-23456789ABCD"} << true;
    }

    void dropMovesEveryParsedIdAndReportsWhetherAnyParsed()
    {
        QFETCH(bool, includeAccount);
        QFETCH(QStringList, garbage);
        QFETCH(bool, accepted);
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        const QString target = bridge.createService("Claude");
        bridge.addAccount("Work", "", "", QDateTime(), false, JsonCoding::uuidString(Service::systemID));
        const QString accountId = JsonCoding::uuidString(only(store.accounts()).id);

        QStringList texts = garbage;
        if (includeAccount)
            texts.prepend(accountId.toLower());
        QCOMPARE(bridge.handleAccountDrop(texts, target), accepted);
        QCOMPARE(JsonCoding::uuidString(only(store.accounts()).serviceId),
                 includeAccount ? target : JsonCoding::uuidString(Service::systemID));
    }

    void invalidDateMeansNoManualRestore()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        bridge.addAccount("No date", "", "", QDateTime(), false, QString());
        bridge.addAccount("Dated", "", "", h.clock->current.addDays(2), false, QString());
        QVERIFY(!store.accounts().at(0).resetAt);
        QCOMPARE(store.accounts().at(1).resetAt, h.clock->current.addDays(2));
        QCOMPARE(bridge.account(JsonCoding::uuidString(store.accounts().at(1).id)).value("resetAt").toDateTime(),
                 h.clock->current.addDays(2));
        QVERIFY(bridge.account(QStringLiteral("not an id")).isEmpty());
    }

    void preferencesRoundTripThroughPlainObjects()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        StoreBridge bridge(store);
        QVariantMap p = bridge.preferences();
        QCOMPARE(p.value("appearanceMode").toString(), QStringLiteral("system"));
        QCOMPARE(p.value("timezoneIdentifier").toString(), QString());
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
        store.startUsage(only(store.accounts()).id);
        AccountListModel *rows = bridge.accounts();
        QCOMPARE(rows->count(), 1);
        const QModelIndex first = rows->index(0);
        QCOMPARE(rows->data(first, AccountListModel::StatusRole).toString(), QStringLiteral("active"));
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

    void recoveryTexts()
    {
        Account account = makeAccount("A");
        QCOMPARE(AccountListModel::recoveryText(account, {}), QStringLiteral("Восстановление: доступно сейчас"));
        account.hasNoLimits = true;
        QCOMPARE(AccountListModel::recoveryText(account, {}), QStringLiteral("Восстановление: отсутствуют лимиты"));
        account.resetAt = utc("2026-03-02T21:30:00Z");
        Preferences moscow;
        moscow.timezoneIdentifier = QStringLiteral("Europe/Moscow");
        QCOMPARE(AccountListModel::recoveryText(account, moscow), QStringLiteral("Восстановление: 3 мар. 2026, 00:30"));
    }
};

QTEST_GUILESS_MAIN(StoreBridgeTest)
#include "tst_store_bridge.moc"
