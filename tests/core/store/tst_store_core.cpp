#include "StoreFakes.h"

#include <QSignalSpy>
#include <QTest>

class StoreCoreTest : public QObject {
    Q_OBJECT

private slots:
    void constructionReadsClockAndPreferencesOnly()
    {
        StoreHarness h;
        h.preferences->stored.timerFormat = TimerFormat::full;
        AccountsStore &store = h.make();
        QCOMPARE(store.now(), h.clock->current);
        QCOMPARE(store.preferences().timerFormat, TimerFormat::full);
        QVERIFY(!store.isLoaded());
        QVERIFY(store.services().isEmpty());
        QCOMPARE(h.repository->loadCount, 0);
        QCOMPARE(h.ticker->startCount, 0);
        QCOMPARE(store.selectedDestination().id(), QStringLiteral("section:all"));
    }

    void loadTwiceLoadsAndSubscribesOnce()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.load();
        QCOMPARE(h.repository->loadCount, 1);
        QCOMPARE(h.ticker->startCount, 1);

        QSignalSpy nowSpy(&store, &AccountsStore::nowChanged);
        h.ticker->fire(utc("2026-03-02T15:00:00Z"));
        QCOMPARE(nowSpy.count(), 1);
        QCOMPARE(store.now(), utc("2026-03-02T15:00:00Z"));
    }

    void normalStateIsNotSavedAgain()
    {
        StoreHarness h;
        const Service work = makeService("Work");
        h.repository->stored = {{Service::systemService(), work}, {makeAccount("a", work.id)}, {}};
        h.loaded();
        QCOMPARE(h.repository->saveCount, 0);
    }

    void normalisation_data()
    {
        QTest::addColumn<AccountsState>("stored");
        QTest::addColumn<QStringList>("serviceNames");
        QTest::addColumn<bool>("saved");

        const Service work = makeService("Work");
        Service renamedSystem = Service::systemService();
        renamedSystem.name = "Old name";
        renamedSystem.isSystem = false;
        Service falseSystem = makeService("Rogue");
        falseSystem.isSystem = true;
        Service duplicate = work;
        duplicate.name = "Work copy";

        QTest::newRow("no services") << AccountsState{} << QStringList{"Без сервиса"} << true;
        QTest::newRow("system renamed") << AccountsState{{renamedSystem, work}, {}, {}}
                                        << QStringList{"Без сервиса", "Work"} << true;
        QTest::newRow("user service flagged system") << AccountsState{{Service::systemService(), falseSystem}, {}, {}}
                                                     << QStringList{"Без сервиса", "Rogue"} << true;
        QTest::newRow("duplicate service id: first wins")
            << AccountsState{{Service::systemService(), work, duplicate}, {}, {}} << QStringList{"Без сервиса", "Work"}
            << true;
        QTest::newRow("system inserted in front")
            << AccountsState{{work}, {}, {}} << QStringList{"Без сервиса", "Work"} << true;
    }

    void normalisation()
    {
        QFETCH(AccountsState, stored);
        QFETCH(QStringList, serviceNames);
        QFETCH(bool, saved);

        StoreHarness h;
        h.repository->stored = stored;
        AccountsStore &store = h.loaded();
        QStringList names;
        int systemCount = 0;
        for (const Service &service : store.services()) {
            names << service.name;
            systemCount += service.isSystem;
        }
        QCOMPARE(names, serviceNames);
        QCOMPARE(systemCount, 1);
        QCOMPARE(store.services().first().id, Service::systemID);
        QCOMPARE(h.repository->saveCount, saved ? 1 : 0);
        QCOMPARE(h.repository->stored.services, store.services());
        QVERIFY(store.events().isEmpty());
    }

    void orphanedAccountsMoveToSystemService()
    {
        StoreHarness h;
        const Service work = makeService("Work");
        Account orphan = makeAccount("orphan", QUuid::createUuid());
        orphan.isArchived = true;
        const Account kept = makeAccount("kept", work.id);
        h.repository->stored = {{Service::systemService(), work}, {orphan, kept}, {}};
        AccountsStore &store = h.loaded();
        QCOMPARE(store.accounts().at(0).serviceId, Service::systemID);
        QCOMPARE(store.accounts().at(1).serviceId, work.id);
        QCOMPARE(h.repository->saveCount, 1);
    }

    void duplicateAccountIdsKeepEveryAccount()
    {
        StoreHarness h;
        const Account first = makeAccount("first");
        Account second = makeAccount("second");
        second.id = first.id;
        const AccountEvent event{QUuid::createUuid(), first.id, AccountEventType::used, utc("2026-01-02T00:00:00Z"),
                                 "Запущен недельный отсчет"};
        h.repository->stored = {{Service::systemService()}, {first, second}, {event}};
        AccountsStore &store = h.loaded();

        QCOMPARE(store.accounts().size(), 2);
        QCOMPARE(store.accounts().at(0).id, first.id);
        QCOMPARE(store.accounts().at(1).name, QStringLiteral("second"));
        QVERIFY(store.accounts().at(1).id != first.id);
        QCOMPARE(store.events(), QList<AccountEvent>{event});
        QCOMPARE(h.repository->saveCount, 1);
    }

    void loadFailureKeepsListsEmptyAndClockRunning()
    {
        StoreHarness h;
        h.repository->loadError = Error::make(Error::Kind::Decoding);
        AccountsStore &store = h.loaded();
        QVERIFY(store.services().isEmpty());
        QVERIFY(store.lastErrorMessage().has_value());
        QVERIFY(store.lastErrorMessage()->startsWith(QStringLiteral("Не удалось загрузить данные: ")));
        QCOMPARE(h.repository->saveCount, 0);
        QCOMPARE(h.ticker->startCount, 1);
        h.ticker->fire(utc("2026-03-03T00:00:00Z"));
        QCOMPARE(store.now(), utc("2026-03-03T00:00:00Z"));
    }

    void saveFailureKeepsChangeAndNextSaveClearsMessage()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        h.repository->saveError = Error::make(Error::Kind::DiskFull);
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        QCOMPARE(store.accounts().size(), 1);
        QVERIFY(store.lastErrorMessage()->startsWith(QStringLiteral("Не удалось сохранить данные: ")));

        h.repository->saveError.reset();
        store.addAccount("Home", "", "", std::nullopt, false, std::nullopt);
        QVERIFY(!store.lastErrorMessage().has_value());
        QCOMPARE(h.repository->stored.accounts.size(), 2);
    }

    void clearErrorRemovesMessage()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.createService("Без сервиса");
        QVERIFY(store.hasError());
        QSignalSpy spy(&store, &AccountsStore::lastErrorMessageChanged);
        store.clearError();
        QVERIFY(!store.hasError());
        QCOMPARE(spy.count(), 1);
    }

    void releasedStoreReceivesNoTicks()
    {
        StoreHarness h;
        h.loaded();
        h.store.reset();
        h.ticker->fire(utc("2026-03-03T00:00:00Z")); // must not touch the released store
        QCOMPARE(h.ticker->stopCount, 0);
    }
};

QTEST_GUILESS_MAIN(StoreCoreTest)
#include "tst_store_core.moc"
