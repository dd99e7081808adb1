#include "StoreFakes.h"

#include "AppConfig.h"
#include "services/CryptoSecureTransferService.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

namespace {

QJsonObject readJsonObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString fixture(const QString &name)
{
    return QStringLiteral(TALLYPORT_TEST_DATA "/backup/") + name;
}

QJsonObject stateJson(const AccountsStore &store)
{
    return JsonCoding::encode(AccountsState{store.services(), store.accounts(), store.events()});
}

struct BackupHarness : StoreHarness {
    BackupHarness()
        : StoreHarness(std::make_shared<CryptoSecureTransferService>())
    {}
};

} // namespace

class StoreBackupTest : public QObject {
    Q_OBJECT

private slots:
    void replaceImportOfIndependentBackup()
    {
        const QJsonObject expect = readJsonObject(fixture("b01-valid.expect.json"));
        QVERIFY(!expect.isEmpty());
        BackupHarness h;
        AccountsStore &store = h.loaded();
        h.panels->openLocation = fixture("b01-valid.json");
        store.importBackupWithPanel(expect.value("password").toString(), BackupImportMode::replace);

        QVERIFY2(!store.hasError(), qPrintable(store.lastErrorMessageText()));
        QCOMPARE(stateJson(store), expect.value("expectedState").toObject());
        QCOMPARE(JsonCoding::encode(store.preferences()), expect.value("preferencesAfterReplaceImport").toObject());
        QCOMPARE(h.preferences->saved.size(), 1);
        QCOMPARE(h.autostart->calls, QList<bool>{false}); // called even though unchanged
        QCOMPARE(h.repository->stored, (AccountsState{store.services(), store.accounts(), store.events()}));
    }

    void brokenBackupsChangeNothing_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(TALLYPORT_TEST_DATA "/backup"));
        for (const QString &name : dir.entryList({"*.expect.json"}, QDir::Files, QDir::Name)) {
            if (readJsonObject(dir.filePath(name)).value("outcome").toString() == QLatin1String("error"))
                QTest::newRow(qPrintable(name)) << dir.filePath(name);
        }
    }

    void brokenBackupsChangeNothing()
    {
        QFETCH(QString, file);
        const QJsonObject expect = readJsonObject(file);
        BackupHarness h;
        h.preferences->stored.timerFormat = TimerFormat::full;
        AccountsStore &store = h.loaded();
        store.addAccount("Keep me", "", "", std::nullopt, false, std::nullopt);
        const QJsonObject before = stateJson(store);
        const Preferences preferencesBefore = store.preferences();
        const int saves = h.repository->saveCount;

        h.panels->openLocation = fixture(expect.value("fixture").toString());
        store.importBackupWithPanel(expect.value("password").toString(), BackupImportMode::replace);
        QVERIFY(store.lastErrorMessageText().startsWith(expect.value("messagePrefix").toString()));
        QCOMPARE(stateJson(store), before);
        QCOMPARE(store.preferences(), preferencesBefore);
        QCOMPARE(h.repository->saveCount, saves);
        QVERIFY(h.autostart->calls.isEmpty());
    }

    void exportThenReplaceRoundTrips()
    {
        QTemporaryDir dir;
        BackupHarness h;
        h.preferences->stored.appearanceMode = AppearanceMode::light;
        AccountsStore &source = h.loaded();
        source.createService("Claude");
        source.addAccount("Work", "note", "pw", std::nullopt, false, std::nullopt);
        source.startUsage(only(source.accounts()).id);
        h.panels->saveLocation = dir.filePath("out.json");
        source.exportBackupWithPanel("пароль");
        QVERIFY2(!source.hasError(), qPrintable(source.lastErrorMessageText()));
        QCOMPARE(h.panels->suggestedName, QStringLiteral("limits-backup.json"));
        const auto others =
            QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
        QCOMPARE(QFile::permissions(dir.filePath("out.json")) & others, QFileDevice::Permissions());

        BackupHarness target;
        AccountsStore &store = target.loaded();
        target.panels->openLocation = dir.filePath("out.json");
        store.importBackupWithPanel("пароль", BackupImportMode::replace);
        QVERIFY(!store.hasError());
        QCOMPARE(store.services(), source.services());
        QCOMPARE(store.accounts(), source.accounts());
        QCOMPARE(store.events(), source.events());
        QCOMPARE(store.preferences(), source.preferences());
        QCOMPARE(store.selectedDestination().id(), QStringLiteral("section:all"));
    }

    void mergeIsByIdAndKeepsPreferences()
    {
        QTemporaryDir dir;
        BackupHarness h;
        AccountsStore &store = h.loaded();
        store.addAccount("Work", "", "", std::nullopt, false, std::nullopt);
        const QUuid id = only(store.accounts()).id;
        store.startUsage(id);
        const QDateTime olderReset = *only(store.accounts()).resetAt;
        h.panels->saveLocation = dir.filePath("b.json");
        store.exportBackupWithPanel("pw");

        // Merging a backup into itself changes nothing.
        const QJsonObject before = stateJson(store);
        h.panels->openLocation = dir.filePath("b.json");
        store.importBackupWithPanel("pw", BackupImportMode::merge);
        QCOMPARE(stateJson(store), before);

        // The imported record wins as a whole, even with an older countdown.
        h.advance(3600);
        store.startUsage(id);
        store.addAccount("Only here", "", "", std::nullopt, false, std::nullopt);
        Preferences mine = store.preferences();
        mine.timerFormat = TimerFormat::full;
        store.commitPreferences(mine);
        store.importBackupWithPanel("pw", BackupImportMode::merge);
        QCOMPARE(store.accounts().size(), 2);
        QCOMPARE(store.accounts().at(0).resetAt, std::optional(olderReset));
        QCOMPARE(store.preferences().timerFormat, TimerFormat::full);
        QVERIFY(h.autostart->calls.isEmpty());
    }

    void importWithoutSystemServiceGainsIt()
    {
        QTemporaryDir dir;
        CryptoSecureTransferService crypto;
        const Service claude{QUuid::createUuid(), "Claude", utc("2026-01-01T00:00:00Z"), false};
        const BackupPayload payload{1, utc("2026-03-02T14:05:09Z"), {{claude}, {makeAccount("x", claude.id)}, {}}, {}};
        QFile file(dir.filePath("b.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(crypto.encrypt(payload, "pw").value());
        file.close();

        for (BackupImportMode mode : {BackupImportMode::replace, BackupImportMode::merge}) {
            BackupHarness h;
            AccountsStore &store = h.make(); // never loaded: no system service yet
            h.panels->openLocation = file.fileName();
            store.importBackupWithPanel("pw", mode);
            QCOMPARE(store.services().first().id, Service::systemID);
            QCOMPARE(store.services().size(), 2);
        }
    }

    void cancelledPanelsChangeNothing()
    {
        BackupHarness h;
        AccountsStore &store = h.loaded();
        store.createService("Без сервиса"); // leaves a message showing
        const QString message = store.lastErrorMessageText();
        store.exportBackupWithPanel("pw");
        store.importBackupWithPanel("pw", BackupImportMode::replace);
        QCOMPARE(store.lastErrorMessageText(), message);
        QCOMPARE(h.repository->saveCount, 0);
    }

    void exportFailureIsReported()
    {
        QTemporaryDir dir;
        BackupHarness h;
        AccountsStore &store = h.loaded();
        h.panels->saveLocation = dir.filePath("missing-folder/b.json");
        store.exportBackupWithPanel("pw");
        QVERIFY(store.lastErrorMessageText().startsWith(QStringLiteral("Не удалось выполнить экспорт: ")));
    }

    // The imported state is saved first: when that fails, neither the data
    // nor the preferences nor the login item change.
    void failedImportChangesNothing()
    {
        for (BackupImportMode mode : {BackupImportMode::replace, BackupImportMode::merge}) {
            BackupHarness h;
            AccountsStore &store = h.loaded();
            store.addAccount("Keep me", "", "", std::nullopt, false, std::nullopt);
            const QJsonObject before = stateJson(store);
            const Preferences preferencesBefore = store.preferences();
            h.repository->saveError = Error::make(Error::Kind::DiskFull, "/data/accounts.json");
            h.panels->openLocation = fixture("b01-valid.json");
            store.importBackupWithPanel("correct horse battery staple", mode);
            QVERIFY2(store.lastErrorMessageText().startsWith(
                         QStringLiteral("Не удалось выполнить импорт: Недостаточно места")),
                     qPrintable(store.lastErrorMessageText()));
            QCOMPARE(stateJson(store), before);
            QCOMPARE(store.preferences(), preferencesBefore);
            QVERIFY(h.preferences->saved.isEmpty());
            QVERIFY(h.autostart->calls.isEmpty());
        }
    }

    // Neither a backup written over the state file (through any link) nor
    // one far too large to be a backup is ever read or written.
    void applicationFilesAndHugeFilesAreRefused()
    {
        QTemporaryDir dir;
        QFile state(dir.filePath("accounts.json"));
        QVERIFY(state.open(QIODevice::WriteOnly));
        state.write("{}");
        state.close();
        QVERIFY(QFile::link(state.fileName(), dir.filePath("link.json")));
        BackupHarness h;
        AccountsStore guarded(AccountsStoreServices{h.repository, h.preferences, h.clock, h.ticker, h.autostart,
                                                    h.notifications, h.transfer, h.clipboard, h.panels,
                                                    QStringList{state.fileName()}});
        for (const char *name : {"accounts.json", "link.json"}) {
            QVERIFY(!guarded.exportBackup(dir.filePath(name), "pw"));
            QVERIFY(guarded.lastErrorMessageText().contains(QStringLiteral("хранит свои данные")));
        }
        QCOMPARE(readJsonObject(state.fileName()), QJsonObject());

        QFile huge(dir.filePath("huge.json"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(AppConfig::maximumBackupBytes + 1));
        QVERIFY(!guarded.importBackup(huge.fileName(), "pw", BackupImportMode::replace));
        QVERIFY2(guarded.lastErrorMessageText().contains(QStringLiteral("больше 320 МБ")),
                 qPrintable(guarded.lastErrorMessageText()));
    }
};

QTEST_GUILESS_MAIN(StoreBackupTest)
#include "tst_store_backup.moc"
