#include "StoreFakes.h"

#include <QTest>

namespace {
QStringList names(const QList<Account> &accounts)
{
    QStringList out;
    for (const Account &account : accounts)
        out << account.name;
    return out;
}

// now = 2026-03-02T14:05:09Z. Accounts, stored order, with createdAt:
//   old    Jan 1, service A, restored (resetAt == now)
//   mid    Jan 2, service A, running
//   twinA  Jan 3, service B, idle
//   twinB  Jan 3, service B, running (later than mid)
//   gone   Jan 4, service A, archived, running
struct Fixture {
    StoreHarness h;
    Service a = makeService("A", utc("2026-01-01T00:00:00Z"));
    Service b = makeService("B", utc("2026-01-02T00:00:00Z"));

    AccountsStore &store()
    {
        const QDateTime now = h.clock->current;
        Account old = makeAccount("old", a.id, utc("2026-01-01T00:00:00Z"));
        old.resetAt = now;
        old.note = "Личный Plus";
        Account mid = makeAccount("mid", a.id, utc("2026-01-02T00:00:00Z"));
        mid.resetAt = now.addSecs(100);
        Account twinA = makeAccount("twinA", b.id, utc("2026-01-03T00:00:00Z"));
        Account twinB = makeAccount("twinB", b.id, utc("2026-01-03T00:00:00Z"));
        twinB.resetAt = now.addSecs(200);
        Account gone = makeAccount("gone", a.id, utc("2026-01-04T00:00:00Z"));
        gone.resetAt = now.addSecs(50);
        gone.isArchived = true;
        h.repository->stored = {{Service::systemService(), a, b}, {old, mid, twinA, twinB, gone}, {}};
        return h.loaded();
    }
};
} // namespace

class StoreNavigationTest : public QObject {
    Q_OBJECT

private slots:
    void filteredAccountsByDestination_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all, newest first, ties in stored order") << "section:all"
                                                                 << "" << QStringList{"twinA", "twinB", "mid", "old"};
        QTest::newRow("active excludes restored and archived") << "section:active"
                                                               << "" << QStringList{"twinB", "mid"};
        QTest::newRow("archive") << "section:archive"
                                 << "" << QStringList{"gone"};
        QTest::newRow("history is empty whatever the search") << "section:history"
                                                              << "old" << QStringList{};
        QTest::newRow("support") << "section:support"
                                 << "" << QStringList{};
        QTest::newRow("about") << "section:about"
                               << "" << QStringList{};
        QTest::newRow("search trimmed, by name") << "section:all"
                                                 << "  TWIN \n"
                                                 << QStringList{"twinA", "twinB"};
        QTest::newRow("search by note, case-insensitive Cyrillic") << "section:all"
                                                                   << "личный" << QStringList{"old"};
        QTest::newRow("blank search keeps all") << "section:all"
                                                << "   " << QStringList{"twinA", "twinB", "mid", "old"};
    }

    void filteredAccountsByDestination()
    {
        QFETCH(QString, destination);
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        Fixture f;
        AccountsStore &store = f.store();
        store.setSelectedDestinationId(destination);
        store.setSearchQuery(query);
        QCOMPARE(names(store.filteredAccounts()), expected);
    }

    void serviceDestination()
    {
        Fixture f;
        AccountsStore &store = f.store();
        store.selectService(f.a.id);
        QCOMPARE(names(store.filteredAccounts()), (QStringList{"mid", "old"}));
        QCOMPARE(store.selectedSection(), DashboardSection::all);
        QVERIFY(!store.selectedStaticSection());
        QCOMPARE(store.selectedService()->name, QStringLiteral("A"));
        store.selectService(QUuid::createUuid());
        QCOMPARE(store.selectedServiceId(), std::optional(f.a.id));
    }

    void countsAndSummaries()
    {
        Fixture f;
        AccountsStore &store = f.store();
        QCOMPARE(store.totalCount(), 4);
        QCOMPARE(store.activeCount(), 2);
        QCOMPARE(store.servicesCount(), 2);
        QCOMPARE(names(store.restoredAccounts()), QStringList{"old"});
        // The archived account's earlier restore does not count.
        QCOMPARE(store.nextResetDate(), std::optional(f.h.clock->current.addSecs(100)));

        const QList<ServiceOverview> overviews = store.serviceOverviews();
        QCOMPARE(overviews.size(), 3);
        QCOMPARE(overviews[0].serviceName, QStringLiteral("Без сервиса"));
        QCOMPARE(overviews[0].activeCount + overviews[0].restoredCount, 0);
        QCOMPARE(overviews[1].restoredCount, 1);
        QCOMPARE(overviews[1].activeCount, 1);
        QCOMPARE(overviews[1].restoredAccountNames, QStringList{"old"});
        QCOMPARE(overviews[1].nextReset, std::optional(f.h.clock->current.addSecs(100)));
        QCOMPARE(overviews[2].activeCount, 1);
        QCOMPARE(overviews[2].nextReset, std::optional(f.h.clock->current.addSecs(200)));
    }

    void nothingAheadMeansNoNextReset()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        QVERIFY(!store.nextResetDate());
        QCOMPARE(store.serviceOverviews().size(), 1);
        QCOMPARE(store.servicesCount(), 0);
    }

    void historySearch()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Alice", "", "", std::nullopt, false, std::nullopt);
        const QUuid alice = only(store.accounts()).id;
        h.advance(1);
        store.addAccount("Bob", "", "", std::nullopt, false, std::nullopt);
        store.deleteAccount(alice);
        h.advance(1);
        store.startUsage(only(store.accounts()).id);

        auto detailsOf = [](const QList<AccountEvent> &events) {
            QStringList out;
            for (const AccountEvent &e : events)
                out << e.details;
            return out;
        };
        QCOMPARE(detailsOf(store.filteredEvents()),
                 (QStringList{"Запущен недельный отсчет", "Создан аккаунт Bob", "Удален аккаунт Alice",
                              "Создан аккаунт Alice"}));
        store.setSearchQuery(" BOB ");
        QCOMPARE(detailsOf(store.filteredEvents()), (QStringList{"Запущен недельный отсчет", "Создан аккаунт Bob"}));
        // A deleted account is found by its details only.
        store.setSearchQuery("alice");
        QCOMPARE(detailsOf(store.filteredEvents()), (QStringList{"Удален аккаунт Alice", "Создан аккаунт Alice"}));
        store.selectSection(DashboardSection::archive);
        QCOMPARE(store.filteredEvents().size(), 2);
    }

    void searchLowerCasesBeyondAscii_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("found");
        QTest::newRow("Latin-1 accent") << "ÉMILE"
                                        << "émile" << true;
        QTest::newRow("Cyrillic yo") << "ЁЛКА"
                                     << "ёлка" << true;
        QTest::newRow("Greek") << "ΣΟΦΙΑ"
                               << "σοφια" << true;
        QTest::newRow("upper-case query") << "anna"
                                          << "ANNA" << true;
        QTest::newRow("no folding beyond case") << "Émile"
                                                << "emile" << false;
    }

    void searchLowerCasesBeyondAscii()
    {
        QFETCH(QString, name);
        QFETCH(QString, query);
        QFETCH(bool, found);
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount(name, "", "", std::nullopt, false, std::nullopt);
        store.setSearchQuery(query);
        QCOMPARE(store.filteredAccounts().size(), found ? 1 : 0);
        QCOMPARE(store.filteredEvents().size(), found ? 1 : 0);
    }

    void historySearchFindsArrowInDetails()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid a = *store.createService("A");
        const QUuid b = *store.createService("B");
        store.addAccount("acc", "", "", std::nullopt, false, a);
        store.moveAccountToService(only(store.accounts()).id, b);
        store.setSearchQuery("→ b");
        QCOMPARE(store.filteredEvents().size(), 1);
    }

    void destinationIds()
    {
        const QUuid id = QUuid::fromString(QStringLiteral("5b8e2c1a-7d3f-4a9b-8c2e-1f0a3b4c5d6e"));
        QCOMPARE(DashboardDestination::forSection(DashboardSection::active).id(), QStringLiteral("section:active"));
        QCOMPARE(DashboardDestination::forService(id).id(),
                 QStringLiteral("service:5B8E2C1A-7D3F-4A9B-8C2E-1F0A3B4C5D6E"));
        QCOMPARE(DashboardDestination::fromId(u"service:5B8E2C1A-7D3F-4A9B-8C2E-1F0A3B4C5D6E"),
                 std::optional(DashboardDestination::forService(id)));
        QVERIFY(!DashboardDestination::fromId(u"section:nowhere"));
    }
};

QTEST_GUILESS_MAIN(StoreNavigationTest)
#include "tst_store_navigation.moc"
