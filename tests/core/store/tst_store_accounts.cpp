#include "StoreFakes.h"

#include <QTest>

namespace {
QStringList details(const QList<AccountEvent> &events)
{
    QStringList out;
    for (const AccountEvent &event : events)
        out << event.details;
    return out;
}
} // namespace

class StoreAccountsTest : public QObject {
    Q_OBJECT

private slots:
    void addTrimsNameAndNoteButNotPassword()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount(" \n Work \t", "  note ", " pa ss ", std::nullopt, false, std::nullopt);
        QCOMPARE(h.repository->saveCount, 1);
        const Account account = only(store.accounts());
        QCOMPARE(account.name, QStringLiteral("Work"));
        QCOMPARE(account.note, QStringLiteral("note"));
        QCOMPARE(account.password, QStringLiteral(" pa ss "));
        QCOMPARE(account.createdAt, h.clock->current);
        QCOMPARE(account.serviceId, Service::systemID);
        QCOMPARE(details(store.events()), QStringList{"Создан аккаунт Work"});
        QCOMPARE(only(store.events()).type, AccountEventType::created);
        QCOMPARE(only(store.events()).accountId, account.id);
    }

    void blankNameDoesNothing()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount(" \n ", "", "", std::nullopt, false, std::nullopt);
        QVERIFY(store.accounts().isEmpty());
        QCOMPARE(h.repository->saveCount, 0);

        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        store.updateAccount(only(store.accounts()).id, "  ", "", "", std::nullopt, true, std::nullopt);
        QCOMPARE(only(store.accounts()).name, QStringLiteral("Work"));
        QCOMPARE(h.repository->saveCount, 1);
    }

    void addLogsFlagOrManualDate_data()
    {
        QTest::addColumn<bool>("noLimits");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("plain") << false << false << QStringList{"Создан аккаунт A"};
        QTest::newRow("flag wins over date")
            << true << true << QStringList{"Создан аккаунт A", "Отмечен как безлимитно пустой"};
        QTest::newRow("manual date") << false << true
                                     << QStringList{"Создан аккаунт A",
                                                    "Время восстановления установлено вручную: 3 мар. 2026, 00:30"};
    }

    void addLogsFlagOrManualDate()
    {
        QFETCH(bool, noLimits);
        QFETCH(bool, manual);
        QFETCH(QStringList, expected);
        StoreHarness h;
        h.preferences->stored.timezoneIdentifier = QStringLiteral("Europe/Moscow");
        AccountsStore &store = h.loaded();
        const QDateTime date = utc("2026-03-02T21:30:00Z");
        store.addAccount("A", "", "", manual ? std::optional(date) : std::nullopt, noLimits, std::nullopt);
        QCOMPARE(details(store.events()), expected);
        if (manual)
            QCOMPARE(only(store.accounts()).resetAt, date);
        if (manual && !noLimits)
            QCOMPARE(store.events().last().type, AccountEventType::manualResetAtSet);
    }

    void targetServiceFollowsPreferenceThenSelection()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid work = *store.createService("Work");
        store.addAccount("in selected", "", "", std::nullopt, false, std::nullopt);
        store.addAccount("gone service", "", "", std::nullopt, false, QUuid::createUuid());
        store.selectSection(DashboardSection::all);
        store.addAccount("no selection", "", "", std::nullopt, false, std::nullopt);
        store.addAccount("explicit", "", "", std::nullopt, false, work);
        QCOMPARE(store.accounts().at(0).serviceId, work);
        QCOMPARE(store.accounts().at(1).serviceId, work);
        QCOMPARE(store.accounts().at(2).serviceId, Service::systemID);
        QCOMPARE(store.accounts().at(3).serviceId, work);
    }

    void updateReplacesFieldsAndLogsFromArguments()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        store.startUsage(id);
        const QDateTime started = *only(store.accounts()).startedAt;

        store.updateAccount(id, " Renamed ", " n ", "pw", std::nullopt, false, QUuid::createUuid());
        const Account account = only(store.accounts());
        QCOMPARE(account.name, QStringLiteral("Renamed"));
        QCOMPARE(account.note, QStringLiteral("n"));
        QVERIFY(!account.resetAt.has_value()); // manual switch off clears the countdown
        QCOMPARE(account.startedAt, started);
        QCOMPARE(account.serviceId, Service::systemID); // unknown service keeps the old one
        QCOMPARE(details(store.events()).last(), QStringLiteral("Изменен аккаунт Renamed"));

        store.updateAccount(id, "Renamed", "", "", std::nullopt, true, std::nullopt);
        store.updateAccount(id, "Renamed", "", "", std::nullopt, true, std::nullopt);
        QCOMPARE(details(store.events()).mid(3),
                 (QStringList{"Изменен аккаунт Renamed", "Включен флаг: лимитов нет", "Изменен аккаунт Renamed",
                              "Включен флаг: лимитов нет"}));
    }

    void unknownIdsChangeNothingButDeleteStillLogs()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const QUuid unknown = QUuid::createUuid();
        store.updateAccount(unknown, "x", "", "", std::nullopt, false, std::nullopt);
        store.startUsage(unknown);
        store.resetTimer(unknown);
        store.toggleNoLimits(unknown);
        store.archiveAccount(unknown);
        store.restoreAccount(unknown);
        QVERIFY(!store.copyPasswordToClipboard(unknown));
        QVERIFY(store.events().isEmpty());
        QCOMPARE(h.repository->saveCount, 0);
        // Deleting is the exception: it still logs and saves.
        store.deleteAccount(unknown);
        QCOMPARE(details(store.events()), QStringList{"Удален аккаунт Аккаунт"});
        QCOMPARE(h.repository->saveCount, 1);
    }

    void deleteKeepsHistory()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        store.deleteAccount(id);
        QVERIFY(store.accounts().isEmpty());
        QCOMPARE(details(store.events()), (QStringList{"Создан аккаунт Work", "Удален аккаунт Work"}));
        QCOMPARE(store.accountName(id), QStringLiteral("Неизвестный аккаунт"));
    }

    void startUsageCountsDownSevenDaysFromClock()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        h.advance(10);
        store.startUsage(id);
        QCOMPARE(store.now(), utc("2026-03-02T14:05:19Z"));
        QCOMPARE(only(store.accounts()).resetAt, utc("2026-03-09T14:05:19Z"));
        QCOMPARE(store.status(only(store.accounts())), AccountLimitStatus::active(604800));

        h.advance(3600);
        store.startUsage(id);
        QCOMPARE(only(store.accounts()).resetAt, utc("2026-03-09T15:05:19Z"));
        QCOMPARE(store.events().last().type, AccountEventType::used);
        QCOMPARE(store.events().last().details, QStringLiteral("Запущен недельный отсчет"));
    }

    void resetAndToggleLeaveOtherFields()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        store.resetTimer(id); // idle account: still logged
        store.startUsage(id);
        const auto resetAt = only(store.accounts()).resetAt;
        store.toggleNoLimits(id);
        store.toggleNoLimits(id);
        QCOMPARE(only(store.accounts()).resetAt, resetAt);
        store.resetTimer(id);
        QVERIFY(!only(store.accounts()).resetAt && !only(store.accounts()).startedAt);
        QCOMPARE(details(store.events()).mid(1),
                 (QStringList{"Таймер сброшен", "Запущен недельный отсчет", "Включен статус: лимитов нет",
                              "Выключен статус: лимитов нет", "Таймер сброшен"}));
    }

    void copyPassword()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Empty", "", "", std::nullopt, false, std::nullopt);
        store.addAccount("Blank", "", "  ", std::nullopt, false, std::nullopt);
        const QUuid empty = store.accounts().at(0).id;
        const QUuid blank = store.accounts().at(1).id;
        const int saves = h.repository->saveCount;

        QVERIFY(!store.copyPasswordToClipboard(empty));
        QCOMPARE(h.clipboard->writes, 0);
        QCOMPARE(h.repository->saveCount, saves);

        QVERIFY(store.copyPasswordToClipboard(blank));
        QCOMPARE(h.clipboard->text, QStringLiteral("  "));
        QVERIFY(h.clipboard->secret);
        QCOMPARE(store.events().last().details, QStringLiteral("Пароль скопирован в буфер обмена"));
        QCOMPARE(h.repository->saveCount, saves + 1);
    }

    void archiveKeepsCountdownAndRestoreBringsItBack()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        store.startUsage(id);
        h.advance(60);
        store.archiveAccount(id);
        QVERIFY(only(store.accounts()).isArchived);
        QCOMPARE(only(store.accounts()).archivedAt, h.clock->current);
        QCOMPARE(store.activeCount(), 0);
        store.restoreAccount(id);
        QVERIFY(!only(store.accounts()).isArchived);
        QVERIFY(!only(store.accounts()).archivedAt);
        store.selectSection(DashboardSection::active);
        QCOMPARE(store.filteredAccounts().size(), 1);
        QCOMPARE(store.events().at(store.events().size() - 2).type, AccountEventType::archived);
        QCOMPARE(store.events().last().type, AccountEventType::restoredFromArchive);
    }

    void eventsUseClockTimeNotStoreNow()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        h.advance(500);
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        QCOMPARE(only(store.events()).timestamp, h.clock->current);
        QVERIFY(store.now() != h.clock->current);
    }
};

QTEST_GUILESS_MAIN(StoreAccountsTest)
#include "tst_store_accounts.moc"
