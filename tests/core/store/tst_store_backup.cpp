#include "StoreFakes.h"

#include "AppConfig.h"
#include "services/BackupPayloadCoding.h"
#include "services/CryptoSecureTransferService.h"

#include <QDir>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFixtures = QStringLiteral(TALLYPORT_TEST_DATA "/backup/");

QJsonObject readJsonObject(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
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
    // Backup files written by an independent implementation, each with what a
    // correct reader makes of it, imported over existing data by replacing it.
    void independentBackups_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &sidecar : QDir(kFixtures).entryList({"*.expect.json"}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(sidecar)) << sidecar.chopped(int(qstrlen(".expect.json")));
    }

    void independentBackups()
    {
        QFETCH(QString, name);
        const QJsonObject expect = readJsonObject(kFixtures + name + ".expect.json");
        const QString password = expect.value("password").toString();
        QFile file(kFixtures + name + ".json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto payload = CryptoSecureTransferService().decrypt(file.readAll(), password);

        BackupHarness h;
        h.preferences->stored.timerFormat = TimerFormat::full;
        AccountsStore &store = h.loaded();
        store.addAccount("Keep me", "", "", std::nullopt, false, std::nullopt);
        const QJsonObject before = stateJson(store);
        const Preferences preferencesBefore = store.preferences();
        h.panels->openLocation = file.fileName();
        store.importBackupWithPanel(password, BackupImportMode::replace);

        if (expect.value("outcome").toString() == "ok") {
            QCOMPARE(BackupPayloadCoding::encode(payload.value()).value(), expect.value("payloadAsRead").toObject());
            QVERIFY2(!store.hasError(), qPrintable(store.lastErrorMessageText()));
            QCOMPARE(stateJson(store), expect.value("expectedState").toObject());
            QCOMPARE(JsonCoding::encode(store.preferences()), expect.value("preferencesAfterReplaceImport").toObject());
            QCOMPARE(h.preferences->saved, QList<Preferences>{store.preferences()});
            QCOMPARE(h.autostart->calls, QList<bool>{false}); // called even though unchanged
            QCOMPARE(h.repository->stored, (AccountsState{store.services(), store.accounts(), store.events()}));
            return;
        }
        const QMap<QString, Error::Kind> kinds{{"json", Error::Kind::Decoding},
                                               {"invalidArchive", Error::Kind::InvalidArchive},
                                               {"invalidPassword", Error::Kind::InvalidPassword}};
        QCOMPARE(payload.error().kind, kinds.value(expect.value("errorKind").toString(), Error::Kind::Crypto));
        QVERIFY(store.lastErrorMessageText().startsWith(expect.value("messagePrefix").toString()));
        QCOMPARE(stateJson(store), before);
        QCOMPARE(store.preferences(), preferencesBefore);
        QCOMPARE(h.repository->saveCount, 1);
        QVERIFY(h.autostart->calls.isEmpty());
    }

    // By id, the imported record winning as a whole; the preferences stay.
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
        const QJsonObject before = stateJson(store);
        h.panels->openLocation = dir.filePath("b.json");
        store.importBackupWithPanel("pw", BackupImportMode::merge);
        QCOMPARE(stateJson(store), before);

        h.advance(3600);
        store.startUsage(id);
        store.addAccount("Only here", "", "", std::nullopt, false, std::nullopt);
        Preferences mine = store.preferences();
        mine.timerFormat = TimerFormat::full;
        store.commitPreferences(mine);
        store.importBackupWithPanel("pw", BackupImportMode::merge);
        QCOMPARE(store.accounts().size(), 2);
        QCOMPARE(store.accounts().at(0).resetAt, std::optional(olderReset));
        QCOMPARE(store.events().size(), 4);
        QCOMPARE(store.preferences(), mine);
        QVERIFY(h.autostart->calls.isEmpty());
    }

    // Both modes repair what they import before saving it.
    void importsAreRepairedAndSaved()
    {
        QTemporaryDir dir;
        const Service claude = makeService("Claude");
        const BackupPayload payload{1, utc("2026-03-02T14:05:09Z"), {{claude}, {makeAccount("x", claude.id)}, {}}, {}};
        QFile file(dir.filePath("b.json"));
        QVERIFY(file.open(QIODevice::WriteOnly)
                && file.write(CryptoSecureTransferService().encrypt(payload, "pw").value()));
        file.close();
        for (BackupImportMode mode : {BackupImportMode::replace, BackupImportMode::merge}) {
            BackupHarness h;
            AccountsStore &store = h.make(); // never loaded: no system service yet
            QVERIFY(store.importBackup(file.fileName(), "pw", mode));
            QCOMPARE(store.services(), (QList<Service>{Service::systemService(), claude}));
            QCOMPARE(h.repository->stored.services, store.services());
        }
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
            h.panels->openLocation = kFixtures + "b01-valid.json";
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
        h.applicationFiles = {state.fileName()};
        AccountsStore &guarded = h.make();
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
