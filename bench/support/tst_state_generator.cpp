// The generated states must be ones the window accepts as they are: a repaired
// state would be saved at load and the benchmarks would not all see the same
// file.

#include "StateGenerator.h"
#include "StoreFakes.h"

#include <QSet>
#include <QTest>

#include <algorithm>

class TestStateGenerator : public QObject {
    Q_OBJECT

private slots:
    void shape_data();
    void shape();
    void loadsWithoutRepair();
    void seedAndMomentDecide();
    void countdownsAreLiveAtNow();
};

namespace {

const QDateTime kNow = utc("2026-03-02T14:05:09Z");

}

void TestStateGenerator::shape_data()
{
    QTest::addColumn<int>("services");
    QTest::addColumn<int>("live");
    QTest::addColumn<int>("archived");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("expectedEvents");

    QTest::newRow("demo") << 4 << 12 << 3 << 120 << 120;
    QTest::newRow("system service only") << 0 << 30 << 0 << 500 << 500;
    QTest::newRow("more services than names") << 45 << 100 << 10 << 1000 << 1000;
    // One creation per account, and the creation and deletion of the one
    // deleted account, whatever was asked.
    QTest::newRow("log shorter than the creations") << 3 << 15 << 0 << 5 << 17;
    QTest::newRow("too few accounts for a deleted one") << 2 << 5 << 0 << 2000 << 2000;
    QTest::newRow("no accounts") << 2 << 0 << 0 << 50 << 0;
}

void TestStateGenerator::shape()
{
    QFETCH(int, services);
    QFETCH(int, live);
    QFETCH(int, archived);
    QFETCH(int, events);
    QFETCH(int, expectedEvents);

    const AccountsState state = generateState(kNow, StateShape{services, live, archived, events, 7});

    QCOMPARE(state.services.size(), qsizetype(services + 1));
    QCOMPARE(state.services.constFirst(), Service::systemService());
    QSet<QString> names;
    QSet<QUuid> serviceIds;
    for (const Service &service : state.services) {
        names.insert(service.name.toCaseFolded());
        serviceIds.insert(service.id);
    }
    QCOMPARE(qsizetype(names.size()), state.services.size());

    QCOMPARE(state.accounts.size(), qsizetype(live + archived));
    const auto archivedCount = std::count_if(state.accounts.cbegin(), state.accounts.cend(),
                                             [](const Account &account) { return account.isArchived; });
    QCOMPARE(int(archivedCount), archived);
    for (const Account &account : state.accounts)
        QVERIFY(serviceIds.contains(account.serviceId));

    QCOMPARE(state.events.size(), qsizetype(expectedEvents));
    QVERIFY(std::is_sorted(state.events.cbegin(), state.events.cend(),
                           [](const AccountEvent &a, const AccountEvent &b) { return a.timestamp < b.timestamp; }));
    if (!state.events.isEmpty())
        QVERIFY(state.events.constLast().timestamp <= kNow);
}

void TestStateGenerator::loadsWithoutRepair()
{
    StoreHarness harness;
    harness.repository->stored = generateState(kNow, StateShape{6, 40, 5, 400, 11});
    AccountsStore &store = harness.loaded();

    QCOMPARE(harness.repository->saveCount, 0);
    QCOMPARE(store.accounts().size(), qsizetype(45));
    QCOMPARE(store.events().size(), qsizetype(400));
    QVERIFY(!store.hasError());
}

void TestStateGenerator::seedAndMomentDecide()
{
    const StateShape shape{5, 20, 2, 200, 3};
    const AccountsState state = generateState(kNow, shape);
    QCOMPARE(generateState(kNow, shape), state);
    QVERIFY(generateState(kNow, StateShape{5, 20, 2, 200, 4}) != state);

    // A day later, the same records a day later.
    const AccountsState later = generateState(kNow.addDays(1), shape);
    QCOMPARE(later.accounts.size(), state.accounts.size());
    for (qsizetype i = 0; i < state.accounts.size(); ++i) {
        QCOMPARE(later.accounts[i].id, state.accounts[i].id);
        QCOMPARE(later.accounts[i].createdAt, state.accounts[i].createdAt.addDays(1));
        QCOMPARE(later.accounts[i].resetAt.has_value(), state.accounts[i].resetAt.has_value());
    }
}

void TestStateGenerator::countdownsAreLiveAtNow()
{
    const AccountsState state = generateState(kNow, StateShape{8, 300, 0, 1000, 20260302});
    const auto running = std::count_if(state.accounts.cbegin(), state.accounts.cend(), [](const Account &account) {
        return account.resetAt && *account.resetAt > kNow && *account.resetAt <= kNow.addSecs(604800);
    });
    const auto restored = std::count_if(state.accounts.cbegin(), state.accounts.cend(), [](const Account &account) {
        return account.resetAt && *account.resetAt <= kNow;
    });
    // About a third counting down and a sixth restored.
    QVERIFY2(running > 70 && running < 130, qPrintable(QString::number(running)));
    QVERIFY2(restored > 25 && restored < 75, qPrintable(QString::number(restored)));
}

QTEST_GUILESS_MAIN(TestStateGenerator)
#include "tst_state_generator.moc"
