#include "StoreFakes.h"

#include <QTest>

class StoreClockTest : public QObject {
    Q_OBJECT

private:
    // Two unarchived accounts already restored, one archived restored, one running.
    static void seed(StoreHarness &h)
    {
        const QDateTime now = h.clock->current;
        Account a = makeAccount("A");
        a.resetAt = now.addSecs(-3600);
        Account b = makeAccount("B");
        b.resetAt = now;
        Account archived = makeAccount("Archived");
        archived.resetAt = now.addSecs(-10);
        archived.isArchived = true;
        Account running = makeAccount("Running");
        running.resetAt = now.addSecs(30);
        h.repository->stored = {{Service::systemService()}, {a, b, archived, running}, {}};
    }

private slots:
    void notifiesEachRestoreOnce()
    {
        StoreHarness h;
        h.preferences->stored.notificationsOnRestore = true;
        seed(h);
        h.loaded();
        const QDateTime start = h.clock->current;
        h.ticker->fire(start);
        QCOMPARE(h.notifications->sent, (QStringList{"A", "B"}));
        h.ticker->fire(start.addSecs(29));
        QCOMPARE(h.notifications->sent.size(), 2);
        h.ticker->fire(start.addSecs(30)); // resetAt equal to the tick counts
        h.ticker->fire(start.addSecs(31));
        QCOMPARE(h.notifications->sent, (QStringList{"A", "B", "Running"}));
    }

    void switchingNotificationsOnLaterNotifiesPendingRestores()
    {
        StoreHarness h;
        seed(h);
        AccountsStore &store = h.loaded();
        h.ticker->fire(h.clock->current);
        QVERIFY(h.notifications->sent.isEmpty());
        Preferences p = store.preferences();
        p.notificationsOnRestore = true;
        store.commitPreferences(p);
        h.ticker->fire(h.clock->current.addSecs(1));
        QCOMPARE(h.notifications->sent, (QStringList{"A", "B"}));
    }

    void startingAgainNotifiesTheNextRestore()
    {
        StoreHarness h;
        h.preferences->stored.notificationsOnRestore = true;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        store.startUsage(id);
        h.ticker->fire(h.clock->current.addSecs(604800));
        h.advance(604800 + 10);
        store.startUsage(id);
        h.ticker->fire(h.clock->current.addSecs(604800));
        QCOMPARE(h.notifications->sent, (QStringList{"Work", "Work"}));
    }

    void refreshNowReadsClockWithoutNotifying()
    {
        StoreHarness h;
        h.preferences->stored.notificationsOnRestore = true;
        seed(h);
        AccountsStore &store = h.loaded();
        h.advance(42);
        store.refreshNow();
        QCOMPARE(store.now(), h.clock->current);
        QVERIFY(h.notifications->sent.isEmpty());
        QCOMPARE(h.repository->saveCount, 0);
    }

    void previewRestoreAndCommit()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        const Preferences original = store.preferences();
        Preferences dark = original;
        dark.appearanceMode = AppearanceMode::dark;
        QCOMPARE(store.previewPreferences(dark), dark);
        QCOMPARE(store.preferences().appearanceMode, AppearanceMode::dark);
        QVERIFY(h.autostart->calls.isEmpty()); // launch flag unchanged: service not called
        store.restorePreferences(original);
        QCOMPARE(store.preferences(), original);
        QVERIFY(h.preferences->saved.isEmpty());
        store.commitPreferences(dark);
        QCOMPARE(h.preferences->saved, QList<Preferences>{dark});
    }

    void failingLaunchAtLoginRevertsFlag()
    {
        StoreHarness h;
        h.autostart->failing = true;
        AccountsStore &store = h.loaded();
        Preferences p = store.preferences();
        p.autoLaunchAtStartup = true;
        QVERIFY(!store.previewPreferences(p).autoLaunchAtStartup);
        QCOMPARE(store.lastErrorMessage(), std::optional(AccountsStore::launchAtLoginFailedMessage));
        store.commitPreferences(p);
        QVERIFY(!h.preferences->saved.last().autoLaunchAtStartup);

        h.autostart->failing = false;
        store.commitPreferences(p);
        QVERIFY(h.preferences->saved.last().autoLaunchAtStartup);
        QVERIFY(!store.hasError());
        QCOMPARE(h.autostart->calls, (QList<bool>{true, true, true}));
    }

    void statusTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("not determined") << 0 << "Не запрошено";
        QTest::newRow("denied") << 1 << "Запрещено";
        QTest::newRow("authorized") << 2 << "Разрешено";
        QTest::newRow("provisional") << 3 << "Временное разрешение";
        QTest::newRow("ephemeral") << 4 << "Эфемерное разрешение";
        QTest::newRow("outside the table") << -1 << "Неизвестно";
    }

    void statusTexts()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        StoreHarness h;
        h.notifications->status = status;
        AccountsStore &store = h.loaded();
        QString shown;
        store.notificationAuthorizationStatus([&](const QString &t) { shown = t; });
        QCOMPARE(shown, text);
    }

    void autostartText()
    {
        StoreHarness h;
        AccountsStore &store = h.loaded();
        QCOMPARE(store.autostartStatusText(), QStringLiteral("Выключен"));
        h.autostart->current = AutostartStatus::enabled;
        QCOMPARE(store.autostartStatusText(), QStringLiteral("Разрешен"));
        h.autostart->current = AutostartStatus::unavailable;
        QCOMPARE(store.autostartStatusText(), QStringLiteral("Недоступен"));
    }
};

QTEST_GUILESS_MAIN(StoreClockTest)
#include "tst_store_clock.moc"
