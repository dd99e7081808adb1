#include "StoreFakes.h"
#include "tray/StatusSummary.h"

#include <QTest>

// What the status-area icon says about a store: accounts given as
// "name:seconds until restore" ("-" never started), archived ones marked "!".
class StatusSummaryTest : public QObject {
    Q_OBJECT

private slots:
    void summary_data()
    {
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<int>("available");
        QTest::addColumn<QStringList>("next"); // "name remaining"
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("no accounts") << QStringList() << 0 << QStringList() << "Tallyport\nНет активных лимитов";
        QTest::newRow("archived and restored")
            << QStringList{"idle:-", "back:-10", "soon:3661", "!hidden:50", "!old:-"} << 2
            << QStringList{"soon 0д 1ч 1м 1с"} << "Tallyport\nБлижайшее восстановление: 2 мар. 2026, 18:06";
        QTest::newRow("soonest five") << QStringList{"g:70", "a:10", "f:60", "b:20", "e:50", "c:30", "d:40"} << 0
                                      << QStringList{"a 0д 0ч 0м 10с", "b 0д 0ч 0м 20с", "c 0д 0ч 0м 30с",
                                                     "d 0д 0ч 0м 40с", "e 0д 0ч 0м 50с"}
                                      << "Tallyport\nБлижайшее восстановление: 2 мар. 2026, 17:05";
    }

    void summary()
    {
        QFETCH(QStringList, accounts);
        QFETCH(int, available);
        QFETCH(QStringList, next);
        QFETCH(QString, toolTip);
        StoreHarness harness;
        harness.preferences->stored.timezoneIdentifier = QStringLiteral("Europe/Moscow");
        for (QString row : accounts) {
            const bool archived = row.startsWith(u'!');
            const QStringList parts = row.remove(u'!').split(u':');
            Account account = makeAccount(parts.at(0));
            account.isArchived = archived;
            if (parts.at(1) != QLatin1String("-")) {
                account.resetAt = harness.clock->current.addSecs(parts.at(1).toLongLong());
                account.startedAt = account.resetAt->addSecs(-604800);
            }
            harness.repository->stored.accounts.append(account);
        }
        const AccountsStore &store = harness.loaded();

        QCOMPARE(StatusSummary::availableNow(store), available);
        QStringList shown;
        for (const StatusSummary::UpcomingRestore &restore : StatusSummary::nextRestores(store))
            shown << restore.name + u' ' + restore.remainingText;
        QCOMPARE(shown, next);
        QCOMPARE(StatusSummary::toolTip(store.nextResetDate(), store.preferences()), toolTip);
    }
};

QTEST_GUILESS_MAIN(StatusSummaryTest)
#include "tst_status_summary.moc"
