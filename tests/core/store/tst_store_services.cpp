#include "StoreFakes.h"

#include <QTest>

class StoreServicesTest : public QObject {
    Q_OBJECT

private slots:
    void createSelectsAndSaves()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const auto id = store.createService("  Claude \n");
        QVERIFY(id.has_value());
        QCOMPARE(store.services().last().name, QStringLiteral("Claude"));
        QCOMPARE(store.services().last().createdAt, h.clock->current);
        QVERIFY(!store.services().last().isSystem);
        QCOMPARE(store.selectedServiceId(), id);
        QCOMPARE(store.selectedDestination().id(), QStringLiteral("service:") + JsonCoding::uuidString(*id));
        QCOMPARE(h.repository->saveCount, 1);
    }

    void createRejects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("message");
        QTest::newRow("blank") << QStringLiteral("  \n") << false;
        QTest::newRow("system name, other case") << QStringLiteral("без СЕРВИСА") << true;
        QTest::newRow("existing, Cyrillic case") << QStringLiteral(" ГИГАЧАТ ") << true;
    }

    void createRejects()
    {
        QFETCH(QString, name);
        QFETCH(bool, message);
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.createService("ГигаЧат");
        const int saves = h.repository->saveCount;
        const auto services = store.services();
        QVERIFY(!store.createService(name).has_value());
        QCOMPARE(store.services(), services);
        QCOMPARE(h.repository->saveCount, saves);
        QCOMPARE(store.lastErrorMessage(),
                 message ? std::optional(AccountsStore::duplicateServiceNameMessage) : std::nullopt);
    }

    void rename()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid a = *store.createService("Alpha");
        store.createService("Beta");
        store.renameService(a, "ALPHA");
        QCOMPARE(store.serviceName(a), QStringLiteral("ALPHA"));
        store.renameService(a, "beta");
        QCOMPARE(store.lastErrorMessage(), std::optional(AccountsStore::duplicateServiceNameMessage));
        QCOMPARE(store.serviceName(a), QStringLiteral("ALPHA"));

        const int saves = h.repository->saveCount;
        store.renameService(Service::systemID, "Other");
        store.renameService(QUuid::createUuid(), "Other");
        store.renameService(a, " ");
        QCOMPARE(store.serviceName(Service::systemID), QStringLiteral("Без сервиса"));
        QCOMPARE(h.repository->saveCount, saves);
    }

    void deleteMovesAccountsSilentlyAndFixesSelection()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid other = *store.createService("Other");
        const QUuid doomed = *store.createService("Doomed");
        store.addAccount("live", "", "", std::nullopt, false, doomed);
        store.addAccount("archived", "", "", std::nullopt, false, doomed);
        store.archiveAccount(store.accounts().last().id);
        const qsizetype events = store.events().size();

        store.selectService(other);
        store.deleteService(doomed);
        QCOMPARE(store.selectedServiceId(), std::optional(other));
        for (const Account &account : store.accounts())
            QCOMPARE(account.serviceId, Service::systemID);
        QCOMPARE(store.events().size(), events);

        store.deleteService(other);
        QCOMPARE(store.selectedDestination().id(), QStringLiteral("section:all"));
        const int saves = h.repository->saveCount;
        store.deleteService(Service::systemID);
        QCOMPARE(store.services().size(), 1);
        QCOMPARE(h.repository->saveCount, saves);
    }

    void moveLogsOnceAndIgnoresSameService()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid a = *store.createService("A");
        const QUuid b = *store.createService("B");
        store.addAccount("acc", "", "", std::nullopt, false, a);
        const QUuid id = only(store.accounts()).id;
        const int saves = h.repository->saveCount;

        store.moveAccountToService(id, b);
        QCOMPARE(only(store.accounts()).serviceId, b);
        QCOMPARE(store.events().last().details, QStringLiteral("Сервис изменен: A → B"));
        QCOMPARE(store.events().last().type, AccountEventType::edited);
        store.moveAccountToService(id, b);
        store.moveAccountToService(id, QUuid::createUuid());
        store.moveAccountToService(QUuid::createUuid(), a);
        QCOMPARE(h.repository->saveCount, saves + 1);
    }

    void sidebarOrder()
    {
        StoreHarness h;
        const Service late = makeService("Aardvark", utc("2026-02-01T00:00:00Z"));
        const Service early = makeService("Zebra", utc("2026-01-01T00:00:00Z"));
        const Service tie = makeService("Tie", utc("2026-01-01T00:00:00Z"));
        h.repository->stored = {{late, early, Service::systemService(), tie}, {}, {}};
        AccountsStore &store = h.loaded();
        QStringList names;
        for (const Service &service : store.sidebarServices())
            names << service.name;
        QCOMPARE(names, (QStringList{"Без сервиса", "Zebra", "Tie", "Aardvark"}));
        QCOMPARE(store.servicesCount(), 3);
    }
};

QTEST_GUILESS_MAIN(StoreServicesTest)
#include "tst_store_services.moc"
