// The window's writer thread: changes made while a write runs collapse into
// one next write of the latest state, a failed write reaches the store's
// message and the next change retries, and a pending write survives the end.
#include "StoreFakes.h"

#include "persistence/BackgroundAccountRepository.h"
#include "persistence/FileAccountRepository.h"

#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Announces each write and holds it until the test lets it go.
struct GatedRepository : FakeAccountRepository {
    QSemaphore entered;
    QSemaphore gate;

    Result<void> saveState(const AccountsState &state) override
    {
        entered.release();
        gate.acquire();
        return FakeAccountRepository::saveState(state);
    }
};

AccountsState stateOf(const AccountsStore &store)
{
    return {store.services(), store.accounts(), store.events()};
}

} // namespace

class BackgroundRepositoryTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheLatestState_data()
    {
        QTest::addColumn<int>("operations");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<int>("writes");
        QTest::newRow("1,000 changes during a write") << 1000 << false << 2;
        QTest::newRow("1,000 changes, failing") << 1000 << true << 2;
    }
    void writesTheLatestState()
    {
        QFETCH(int, operations);
        QFETCH(bool, failing);
        QFETCH(int, writes);
        auto target = std::make_shared<GatedRepository>();
        target->stored = {{Service::systemService()}, {makeAccount("a")}, {}};
        const QUuid id = target->stored.accounts.constFirst().id;
        StoreHarness h;
        AccountsStore &store = h.loaded(std::make_shared<BackgroundAccountRepository>(target));
        if (failing)
            target->saveError = Error::make(Error::Kind::OperationFailed, QStringLiteral("/data/accounts.json"));

        store.toggleNoLimits(id);
        target->entered.acquire(); // the first write runs and waits
        for (int i = 1; i < operations; ++i)
            store.toggleNoLimits(id);
        QVERIFY(!store.hasError()); // nothing has been written yet
        target->gate.release(writes);
        store.flushSaves();
        QCoreApplication::processEvents();
        QCOMPARE(target->saveCount, writes);
        QCOMPARE(store.lastErrorMessageText(),
                 failing ? QStringLiteral("Не удалось сохранить данные: ") + target->saveError->localizedDescription()
                         : QString());
        QCOMPARE(target->stored == stateOf(store), !failing);

        // The next change writes everything, also what failed before.
        target->saveError.reset();
        target->gate.release();
        store.toggleNoLimits(id);
        store.flushSaves();
        QCoreApplication::processEvents();
        QVERIFY(!store.hasError());
        QCOMPARE(target->stored, stateOf(store));
    }

    void aPendingWriteSurvivesTheEnd()
    {
        QTemporaryDir folder;
        AccountsState latest;
        {
            StoreHarness h;
            AccountsStore &store = h.loaded(
                std::make_shared<BackgroundAccountRepository>(FileAccountRepository::create(folder.path()).value()));
            store.addAccount(QStringLiteral("a"), {}, QStringLiteral("secret"), std::nullopt, false, std::nullopt);
            const QUuid id = store.accounts().constFirst().id;
            for (int i = 0; i < 200; ++i)
                store.startUsage(id);
            latest = stateOf(store);
        }
        auto reopened = FileAccountRepository::create(folder.path());
        QCOMPARE(reopened.value()->loadState().value(), latest);
    }
};

QTEST_GUILESS_MAIN(BackgroundRepositoryTest)
#include "tst_backgroundrepository.moc"
