// The store on fakes: loading and its repairs, every account and service
// operation with the history it writes, navigation and summaries, the clock
// with its notifications, and preferences at run time.
#include "StoreFakes.h"

#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

// The history as "type: details" lines.
QStringList log(const QList<AccountEvent> &events)
{
    QStringList out;
    for (const AccountEvent &event : events)
        out << AccountEventTypes::rawValue(event.type) + ": " + event.details;
    return out;
}

QStringList names(const QList<Account> &accounts)
{
    QStringList out;
    for (const Account &account : accounts)
        out << account.name;
    return out;
}

const QUuid kServiceA = QUuid::fromString(u"5b8e2c1a-7d3f-4a9b-8c2e-1f0a3b4c5d6e");

// now = 2026-03-02T14:05:09Z. Accounts, stored order, with createdAt:
//   old    Jan 1, service A, restored (resetAt == now), a note the fast lower case reads
//   mid    Jan 2, service A, running, a note only QString::toLower reads
//   twinA  Jan 3, service B, idle
//   twinB  Jan 3, service B, running (later than mid)
//   gone   Jan 4, service A, archived, running (sooner than mid)
// Services are stored B, system, A: the sidebar shows the system one, then the oldest.
AccountsStore &seeded(StoreHarness &h)
{
    Service a = makeService("A", utc("2026-01-01T00:00:00Z"));
    a.id = kServiceA;
    const Service b = makeService("B", utc("2026-01-02T00:00:00Z"));
    const QDateTime now = h.clock->current;
    Account old = makeAccount("old", a.id, utc("2026-01-01T00:00:00Z"));
    old.resetAt = now;
    old.note = "Личный Plus, ЁЛКА ZOYA";
    Account mid = makeAccount("mid", a.id, utc("2026-01-02T00:00:00Z"));
    mid.resetAt = now.addSecs(100);
    mid.note = "ΣΟΦΙΑ Émile";
    Account twinA = makeAccount("twinA", b.id, utc("2026-01-03T00:00:00Z"));
    Account twinB = makeAccount("twinB", b.id, utc("2026-01-03T00:00:00Z"));
    twinB.resetAt = now.addSecs(200);
    Account gone = makeAccount("gone", a.id, utc("2026-01-04T00:00:00Z"));
    gone.resetAt = now.addSecs(50);
    gone.isArchived = true;
    h.repository->stored = {{b, Service::systemService(), a}, {old, mid, twinA, twinB, gone}, {}};
    return h.loaded();
}

} // namespace

class StoreTest : public QObject {
    Q_OBJECT

private slots:
    void loadsOnceAndFollowsTheTicker()
    {
        StoreHarness h;
        AccountsStore &store = h.make();
        QVERIFY(!store.isLoaded() && store.services().isEmpty());
        QCOMPARE(h.ticker->startCount, 0);
        store.load();
        store.load();
        QCOMPARE(h.repository->loadCount, 1);
        QCOMPARE(h.ticker->startCount, 1);
        QSignalSpy nowChanged(&store, &AccountsStore::nowChanged);
        h.ticker->fire(utc("2026-03-02T15:00:00Z"));
        QCOMPARE(store.now(), utc("2026-03-02T15:00:00Z"));
        QCOMPARE(nowChanged.count(), 1);
        h.store.reset();
        h.ticker->fire(utc("2026-03-03T00:00:00Z")); // must not reach the released store
    }

    // Repairs on load, saved at once: one system service, first-come service
    // ids, accounts only in known services and each under an id of its own.
    void repairsOnLoad_data()
    {
        QTest::addColumn<AccountsState>("stored");
        QTest::addColumn<QStringList>("services");
        QTest::addColumn<QStringList>("accounts"); // name@service
        QTest::addColumn<bool>("saved");
        const Service work = makeService("Work");
        Service renamedSystem = Service::systemService();
        renamedSystem.name = "Old name";
        renamedSystem.isSystem = false;
        Service falseSystem = makeService("Rogue");
        falseSystem.isSystem = true;
        Service duplicate = work;
        duplicate.name = "Work copy";
        Account orphan = makeAccount("orphan", QUuid::createUuid());
        orphan.isArchived = true;
        const Account first = makeAccount("first", work.id);
        Account second = makeAccount("second");
        second.id = first.id;
        const QStringList both{"Без сервиса", "Work"};

        QTest::newRow("nothing to repair") << AccountsState{{Service::systemService(), work}, {first}, {}} << both
                                           << QStringList{"first@Work"} << false;
        QTest::newRow("no services") << AccountsState{} << QStringList{"Без сервиса"} << QStringList{} << true;
        QTest::newRow("system service missing") << AccountsState{{work}, {}, {}} << both << QStringList{} << true;
        QTest::newRow("system service renamed")
            << AccountsState{{renamedSystem, work}, {}, {}} << both << QStringList{} << true;
        QTest::newRow("user service flagged system") << AccountsState{{Service::systemService(), falseSystem}, {}, {}}
                                                     << QStringList{"Без сервиса", "Rogue"} << QStringList{} << true;
        QTest::newRow("duplicate service id")
            << AccountsState{{Service::systemService(), work, duplicate}, {}, {}} << both << QStringList{} << true;
        QTest::newRow("account of an unknown service")
            << AccountsState{{Service::systemService(), work}, {orphan, first}, {}} << both
            << QStringList{"orphan@Без сервиса", "first@Work"} << true;
        QTest::newRow("duplicate account id") << AccountsState{{Service::systemService(), work}, {first, second}, {}}
                                              << both << QStringList{"first@Work", "second@Без сервиса"} << true;
    }

    void repairsOnLoad()
    {
        QFETCH(AccountsState, stored);
        QFETCH(QStringList, services);
        QFETCH(QStringList, accounts);
        QFETCH(bool, saved);
        StoreHarness h;
        stored.events = {AccountEvent{QUuid::createUuid(), QUuid::createUuid(), AccountEventType::used,
                                      utc("2026-01-02T00:00:00Z"), "Запущен недельный отсчет"}};
        h.repository->stored = stored;
        AccountsStore &store = h.loaded();
        QStringList found;
        for (const Service &service : store.services())
            found << service.name + (service.isSystem != (service.id == Service::systemID) ? " flagged" : "");
        QCOMPARE(found, services);
        QCOMPARE(store.services().first().id, Service::systemID);
        found.clear();
        QSet<QUuid> ids;
        for (const Account &account : store.accounts()) {
            found << account.name + "@" + store.serviceName(account.serviceId);
            ids.insert(account.id);
        }
        QCOMPARE(found, accounts);
        QCOMPARE(ids.size(), accounts.size());
        if (!accounts.isEmpty()) // the first comes first
            QCOMPARE(store.accounts().first().id, stored.accounts.first().id);
        QCOMPARE(store.events(), stored.events);
        QCOMPARE(h.repository->saveCount, saved ? 1 : 0);
        QCOMPARE(h.repository->stored, (AccountsState{store.services(), store.accounts(), store.events()}));
    }

    void failuresShowAMessageUntilTheNextSuccess()
    {
        StoreHarness unreadable;
        unreadable.repository->loadError = Error::make(Error::Kind::Decoding);
        AccountsStore &empty = unreadable.loaded();
        QVERIFY(empty.services().isEmpty());
        QVERIFY(empty.lastErrorMessageText().startsWith("Не удалось загрузить данные: "));
        QCOMPARE(unreadable.repository->saveCount, 0);
        QCOMPARE(unreadable.ticker->startCount, 1);

        StoreHarness h;
        AccountsStore &store = h.loaded();
        h.repository->saveError = Error::make(Error::Kind::DiskFull);
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        QCOMPARE(store.accounts().size(), 1);
        QVERIFY(store.lastErrorMessageText().startsWith("Не удалось сохранить данные: "));
        h.repository->saveError.reset();
        store.addAccount("Home", "", "", std::nullopt, false, std::nullopt);
        QVERIFY(!store.hasError());
        QCOMPARE(h.repository->stored.accounts.size(), 2);
    }

    // One account through every operation; each is logged at the clock's time and saved.
    void accountLifecycle()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        h.advance(500);
        store.addAccount(" \n Work \t", "  note ", " pa ss ", std::nullopt, false, std::nullopt);
        const Account added = only(store.accounts());
        QCOMPARE(
            added,
            (Account{
                added.id, Service::systemID, "Work", "note", " pa ss ", h.clock->current, {}, {}, false, {}, false}));
        QCOMPARE(store.events().first().timestamp, h.clock->current);
        QVERIFY(store.now() != h.clock->current);
        const QUuid id = added.id;
        store.resetTimer(id); // idle: still logged
        h.advance(10);
        store.startUsage(id);
        QCOMPARE(store.now(), h.clock->current);
        QCOMPARE(only(store.accounts()).startedAt, h.clock->current);
        QCOMPARE(only(store.accounts()).resetAt, utc("2026-03-09T14:13:39Z"));
        store.toggleNoLimits(id);
        QVERIFY(only(store.accounts()).hasNoLimits);
        store.toggleNoLimits(id);
        QVERIFY(store.copyPasswordToClipboard(id));
        QCOMPARE(h.clipboard->text, QStringLiteral(" pa ss "));
        QVERIFY(h.clipboard->secret);
        h.advance(60);
        store.archiveAccount(id);
        QCOMPARE(only(store.accounts()).archivedAt, h.clock->current);
        QCOMPARE(store.activeCount(), 0);
        store.restoreAccount(id);
        QCOMPARE(store.activeCount(), 1);
        QCOMPARE(only(store.accounts()).resetAt, utc("2026-03-09T14:13:39Z")); // untouched until here
        QVERIFY(!only(store.accounts()).isArchived && !only(store.accounts()).archivedAt);
        store.resetTimer(id);
        QVERIFY(!only(store.accounts()).resetAt && !only(store.accounts()).startedAt);
        store.deleteAccount(id);
        QVERIFY(store.accounts().isEmpty());
        QCOMPARE(store.accountName(id), QStringLiteral("Неизвестный аккаунт"));

        QCOMPARE(log(store.events()),
                 (QStringList{"created: Создан аккаунт Work", "timerReset: Таймер сброшен",
                              "used: Запущен недельный отсчет", "edited: Включен статус: лимитов нет",
                              "edited: Выключен статус: лимитов нет", "edited: Пароль скопирован в буфер обмена",
                              "archived: Перемещен в архив", "restoredFromArchive: Восстановлен из архива",
                              "timerReset: Таймер сброшен", "deleted: Удален аккаунт Work"}));
        for (const AccountEvent &event : store.events())
            QCOMPARE(event.accountId, id);
        QCOMPARE(h.repository->saveCount, store.events().size());
    }

    // Adding and editing log the change, then the no-limits flag or else a
    // manual restore moment. An edit keeps the start and an unknown service.
    void addAndUpdateLogs_data()
    {
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("noLimits");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QStringList>("expected");
        const QString manual = "manualResetAtSet: Время восстановления установлено вручную: 3 мар. 2026, 00:30";
        QTest::newRow("add") << false << false << false << QStringList{"created: Создан аккаунт A"};
        QTest::newRow("add without limits")
            << false << true << true
            << QStringList{"created: Создан аккаунт A", "edited: Отмечен как безлимитно пустой"};
        QTest::newRow("add with a moment")
            << false << false << true << QStringList{"created: Создан аккаунт A", manual};
        QTest::newRow("edit") << true << false << false << QStringList{"edited: Изменен аккаунт A"};
        QTest::newRow("edit without limits")
            << true << true << true << QStringList{"edited: Изменен аккаунт A", "edited: Включен флаг: лимитов нет"};
        QTest::newRow("edit with a moment")
            << true << false << true << QStringList{"edited: Изменен аккаунт A", manual};
    }

    void addAndUpdateLogs()
    {
        QFETCH(bool, update);
        QFETCH(bool, noLimits);
        QFETCH(bool, manual);
        QFETCH(QStringList, expected);
        StoreHarness h;
        h.preferences->stored.timezoneIdentifier = QStringLiteral("Europe/Moscow");
        AccountsStore &store = h.loaded();
        const std::optional<QDateTime> date = manual ? std::optional(utc("2026-03-02T21:30:00Z")) : std::nullopt;
        if (update) {
            store.addAccount("B", "", "", std::nullopt, false, std::nullopt);
            store.startUsage(only(store.accounts()).id);
            store.updateAccount(only(store.accounts()).id, " A ", " n ", "pw", date, noLimits, QUuid::createUuid());
            QCOMPARE(only(store.accounts()).startedAt, h.clock->current);
            QCOMPARE(only(store.accounts()).note, QStringLiteral("n"));
            QCOMPARE(only(store.accounts()).password, QStringLiteral("pw"));
            QCOMPARE(only(store.accounts()).serviceId, Service::systemID);
            expected.prepend("used: Запущен недельный отсчет");
            expected.prepend("created: Создан аккаунт B");
        } else {
            store.addAccount(" A ", "", "", date, noLimits, std::nullopt);
        }
        QCOMPARE(log(store.events()), expected);
        QCOMPARE(only(store.accounts()).name, QStringLiteral("A"));
        QCOMPARE(only(store.accounts()).resetAt, date); // the switch off clears a countdown
        QCOMPARE(only(store.accounts()).hasNoLimits, noLimits);
    }

    void unknownAccountsAndBlankNamesChangeNothing()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount(" \n ", "", "", std::nullopt, false, std::nullopt);
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid work = only(store.accounts()).id;
        store.updateAccount(work, "  ", "", "", std::nullopt, true, std::nullopt);
        QVERIFY(!store.copyPasswordToClipboard(work)); // no password
        const QUuid unknown = QUuid::createUuid();
        store.updateAccount(unknown, "x", "", "", std::nullopt, false, std::nullopt);
        store.startUsage(unknown);
        store.resetTimer(unknown);
        store.toggleNoLimits(unknown);
        store.archiveAccount(unknown);
        store.restoreAccount(unknown);
        QVERIFY(!store.copyPasswordToClipboard(unknown));
        QCOMPARE(only(store.accounts()).name, QStringLiteral("Work"));
        QVERIFY(h.clipboard->text.isEmpty());
        QCOMPARE(h.repository->saveCount, 1);
        // Deleting is the exception: it still logs and saves.
        store.deleteAccount(unknown);
        QCOMPARE(log(store.events()), (QStringList{"created: Создан аккаунт Work", "deleted: Удален аккаунт Аккаунт"}));
        QCOMPARE(h.repository->saveCount, 2);
    }

    void newAccountGoesToTheGivenThenTheSelectedService()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid work = *store.createService("Work");
        store.addAccount("in selected", "", "", std::nullopt, false, std::nullopt);
        store.addAccount("gone service", "", "", std::nullopt, false, QUuid::createUuid());
        store.selectSection(DashboardSection::all);
        store.addAccount("no selection", "", "", std::nullopt, false, std::nullopt);
        store.addAccount("given", "", "", std::nullopt, false, work);
        QList<QUuid> services;
        for (const Account &account : store.accounts())
            services << account.serviceId;
        QCOMPARE(services, (QList<QUuid>{work, work, Service::systemID, work}));
    }

    // Names are trimmed and unique regardless of case; the system service keeps its name.
    void serviceNames_data()
    {
        QTest::addColumn<bool>("rename"); // "Alpha", else create
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("message");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("create") << false << "  Claude \n" << false << "Claude";
        QTest::newRow("create blank") << false << "  \n" << false << "";
        QTest::newRow("create the system name") << false << "без СЕРВИСА" << true << "";
        QTest::newRow("create an existing name") << false << " ГИГАЧАТ " << true << "";
        QTest::newRow("rename") << true << " Beta " << false << "Beta";
        QTest::newRow("rename, case only") << true << "ALPHA" << false << "ALPHA";
        QTest::newRow("rename to an existing name") << true << "гигачат" << true << "";
        QTest::newRow("rename blank") << true << " " << false << "";
    }

    void serviceNames()
    {
        QFETCH(bool, rename);
        QFETCH(QString, name);
        QFETCH(bool, message);
        QFETCH(QString, stored);
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.createService("ГигаЧат");
        const QUuid alpha = *store.createService("Alpha");
        const QList<Service> before = store.services();
        const int saves = h.repository->saveCount;
        const auto created = rename ? std::optional(alpha) : store.createService(name);
        if (rename)
            store.renameService(alpha, name);
        QCOMPARE(created.has_value(), rename || !stored.isEmpty());
        if (stored.isEmpty())
            QCOMPARE(store.services(), before);
        else
            QCOMPARE(store.serviceName(*created), stored);
        QCOMPARE(h.repository->saveCount, saves + (stored.isEmpty() ? 0 : 1));
        QCOMPARE(store.hasError(), message);
        if (message)
            QCOMPARE(store.lastErrorMessage(), std::optional(AccountsStore::duplicateServiceNameMessage));
        if (!rename && created) {
            QCOMPARE(store.services().last().createdAt, h.clock->current);
            QCOMPARE(store.selectedDestinationId(), "service:" + JsonCoding::uuidString(*created));
        }
    }

    // A move is logged once; deleting a service moves its accounts to the
    // system service silently; the system service stays as it is.
    void movesAndDeletions()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid other = *store.createService("Other");
        const QUuid doomed = *store.createService("Doomed");
        store.addAccount("live", "", "", std::nullopt, false, other);
        store.addAccount("archived", "", "", std::nullopt, false, doomed);
        store.archiveAccount(store.accounts().last().id);
        const QUuid live = store.accounts().first().id;
        store.moveAccountToService(live, doomed);
        store.moveAccountToService(live, doomed);
        store.moveAccountToService(live, QUuid::createUuid());
        store.moveAccountToService(QUuid::createUuid(), other);
        QCOMPARE(log(store.events()).last(), QStringLiteral("edited: Сервис изменен: Other → Doomed"));
        const qsizetype events = store.events().size();
        const int saves = h.repository->saveCount;

        store.selectService(other);
        QSignalSpy accountsChanged(&store, &AccountsStore::accountsChanged);
        store.deleteService(doomed);
        QCOMPARE(store.selectedServiceId(), std::optional(other));
        for (const Account &account : store.accounts())
            QCOMPARE(account.serviceId, Service::systemID);
        store.deleteService(other);
        QCOMPARE(accountsChanged.count(), 1); // none were left in "Other"
        QCOMPARE(store.selectedDestinationId(), QStringLiteral("section:all"));
        store.renameService(Service::systemID, "Other");
        store.deleteService(Service::systemID);
        QCOMPARE(store.services(), QList<Service>{Service::systemService()});
        QCOMPARE(store.events().size(), events);
        QCOMPARE(h.repository->saveCount, saves + 2);
    }

    void filteredAccounts_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("query");
        const QStringList all{"twinA", "twinB", "mid", "old"};
        const QString service = "service:" + JsonCoding::uuidString(kServiceA);
        QTest::newRow("all, newest first, ties in stored order") << "section:all" << all << "";
        QTest::newRow("active: running, not archived") << "section:active" << QStringList{"twinB", "mid"} << "";
        QTest::newRow("archive") << "section:archive" << QStringList{"gone"} << "";
        QTest::newRow("a service, archive left out") << service << QStringList{"mid", "old"} << "";
        QTest::newRow("history, whatever the search") << "section:history" << QStringList{} << "old";
        QTest::newRow("about") << "section:about" << QStringList{} << "";
        QTest::newRow("unknown destination kept") << "section:nowhere" << all << "";
        QTest::newRow("search trimmed, by name") << "section:all" << QStringList{"twinA", "twinB"} << "  TWIN \n";
        QTest::newRow("search by note, Cyrillic case") << "section:all" << QStringList{"old"} << "личный";
        QTest::newRow("search, Cyrillic yo") << "section:all" << QStringList{"old"} << "ёлка";
        QTest::newRow("search, Latin bounds") << "section:all" << QStringList{"old"} << "zoya";
        QTest::newRow("search, Greek") << "section:all" << QStringList{"mid"} << "σοφια";
        QTest::newRow("search, no folding beyond case") << "section:all" << QStringList{} << "emile";
        QTest::newRow("blank search") << "section:all" << all << "   ";
    }

    void filteredAccounts()
    {
        QFETCH(QString, destination);
        QFETCH(QStringList, expected);
        QFETCH(QString, query);
        StoreHarness h;
        AccountsStore &store = seeded(h);
        store.setSelectedDestinationId(destination);
        store.setSearchQuery(query);
        QCOMPARE(names(store.filteredAccounts()), expected);
        QCOMPARE(store.selectedDestinationId(), destination.endsWith("nowhere") ? "section:all" : destination);
    }

    void summaries()
    {
        StoreHarness h;
        AccountsStore &store = seeded(h);
        QCOMPARE(store.totalCount(), 4);
        QCOMPARE(store.servicesCount(), 2);
        QCOMPARE(store.activeCount(), 2);
        QCOMPARE(names(store.restoredAccounts()), QStringList{"old"});
        // The archived account's earlier restore does not count.
        QCOMPARE(store.nextResetDate(), std::optional(h.clock->current.addSecs(100)));
        // Per service: running/restored, the restored names, seconds to the next restore.
        QStringList overviews;
        for (const ServiceOverview &o : store.serviceOverviews())
            overviews << QStringLiteral("%1 %2/%3 %4 %5")
                             .arg(o.serviceName)
                             .arg(o.activeCount)
                             .arg(o.restoredCount)
                             .arg(o.restoredAccountNames.join(','))
                             .arg(o.nextReset ? h.clock->current.secsTo(*o.nextReset) : -1);
        QCOMPARE(overviews, (QStringList{"Без сервиса 0/0  -1", "A 1/1 old 100", "B 1/0  200"}));
        store.selectService(QUuid::createUuid());
        QCOMPARE(store.selectedDestinationId(), QStringLiteral("section:all"));
        store.selectService(kServiceA);
        QCOMPARE(store.selectedService()->name, QStringLiteral("A"));
        QCOMPARE(store.selectedSection(), DashboardSection::all);
        QVERIFY(!store.selectedStaticSection());
    }

    // The history, newest first, found by the account's current name or the event's text.
    void historySearch()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid a = *store.createService("A");
        const QUuid b = *store.createService("B");
        store.addAccount("Alice", "", "", std::nullopt, false, a);
        const QUuid alice = only(store.accounts()).id;
        h.advance(1);
        store.addAccount("Bob", "", "", std::nullopt, false, a);
        store.deleteAccount(alice);
        h.advance(1);
        store.moveAccountToService(only(store.accounts()).id, b);
        const QString moved = "edited: Сервис изменен: A → B";
        QCOMPARE(log(store.filteredEvents()),
                 (QStringList{moved, "created: Создан аккаунт Bob", "deleted: Удален аккаунт Alice",
                              "created: Создан аккаунт Alice"}));
        store.setSearchQuery(" BOB ");
        QCOMPARE(log(store.filteredEvents()), (QStringList{moved, "created: Создан аккаунт Bob"}));
        store.setSearchQuery("alice"); // deleted: found by the texts only
        QCOMPARE(log(store.filteredEvents()),
                 (QStringList{"deleted: Удален аккаунт Alice", "created: Создан аккаунт Alice"}));
        store.setSearchQuery("→ b");
        store.selectSection(DashboardSection::archive);
        QCOMPARE(log(store.filteredEvents()), QStringList{moved});
    }

    // One notification per restore, when switched on: at the tick that reaches
    // resetAt, for restores before the launch, and again after a new start.
    void notifiesEachRestoreOnce()
    {
        StoreHarness h;
        const QDateTime start = h.clock->current;
        Account a = makeAccount("A");
        a.resetAt = start.addSecs(-3600);
        Account archived = makeAccount("Archived");
        archived.resetAt = start.addSecs(-10);
        archived.isArchived = true;
        Account running = makeAccount("Running");
        running.resetAt = start.addSecs(30);
        h.repository->stored = {{Service::systemService()}, {a, archived, running}, {}};
        AccountsStore &store = h.loaded();
        h.advance(42);
        store.refreshNow();
        QCOMPARE(store.now(), h.clock->current);
        h.ticker->fire(start);
        QVERIFY(h.notifications->sent.isEmpty()); // switched off

        Preferences on = store.preferences();
        on.notificationsOnRestore = true;
        store.commitPreferences(on);
        h.ticker->fire(start.addSecs(29));
        QCOMPARE(h.notifications->sent, QStringList{"A"});
        h.ticker->fire(start.addSecs(30));
        h.ticker->fire(start.addSecs(31));
        QCOMPARE(h.notifications->sent, (QStringList{"A", "Running"}));
        h.clock->current = start.addSecs(40);
        store.startUsage(running.id);
        h.ticker->fire(start.addSecs(40 + 604800));
        QCOMPARE(h.notifications->sent, (QStringList{"A", "Running", "Running"}));
        QCOMPARE(h.repository->saveCount, 1);
    }

    // A preview applies at once and saves nothing; launch at login follows only a change
    // of its flag, and a refusal keeps the old flag.
    void preferencesAtRunTime()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const Preferences original = store.preferences();
        Preferences dark = original;
        dark.appearanceMode = AppearanceMode::dark;
        QCOMPARE(store.previewPreferences(dark), dark);
        QCOMPARE(store.preferences(), dark);
        store.restorePreferences(original);
        QCOMPARE(store.preferences(), original);
        QVERIFY(h.preferences->saved.isEmpty());
        store.commitPreferences(dark);
        QCOMPARE(h.preferences->saved, QList<Preferences>{dark});
        QVERIFY(h.autostart->calls.isEmpty());

        h.autostart->failing = true;
        Preferences launch = dark;
        launch.autoLaunchAtStartup = true;
        QCOMPARE(store.previewPreferences(launch), dark);
        QCOMPARE(store.lastErrorMessage(), std::optional(AccountsStore::launchAtLoginFailedMessage));
        h.autostart->failing = false;
        store.commitPreferences(launch);
        QCOMPARE(h.preferences->saved.last(), launch);
        QVERIFY(!store.hasError());
        QCOMPARE(h.autostart->calls, (QList<bool>{true, true}));
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
