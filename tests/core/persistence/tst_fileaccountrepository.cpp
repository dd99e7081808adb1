#include "AppConfig.h"
#include "FileMode.h"
#include "model/JsonCoding.h"
#include "persistence/AtomicFile.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/InMemoryAccountRepository.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QDateTime utc(const char *iso) { return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate); }

AccountsState sampleState(const QString &name = QStringLiteral("Рабочий"))
{
    Service service{QUuid::createUuid(), QStringLiteral("Claude"), utc("2026-01-01T00:00:00Z"), false};
    Account account{QUuid::createUuid(), service.id, name, QStringLiteral("заметка"), QStringLiteral("secret"),
                    utc("2026-01-02T00:00:00Z"), utc("2026-03-02T14:05:09Z"), utc("2026-03-09T14:05:09Z"),
                    true, utc("2026-03-03T00:00:00Z"), false};
    AccountEvent event{QUuid::createUuid(), account.id, AccountEventType::used, utc("2026-03-02T14:05:09Z"),
                       QStringLiteral("Запущен недельный отсчет")};
    return AccountsState{{Service::systemService(), service}, {account}, {event}};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileBytes(const QString &path) { return readWholeFile(path).value(); }

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}

class TestFileAccountRepository : public QObject {
    Q_OBJECT

private slots:
    void init();

    void firstStartCreatesAPrivateFolderAndNoFile();
    void noDataFolderIsReported();
    void dataFolderComesFromXdgDataHome();
    void legacyFileIsCopiedOnce();
    void currentFileWinsOverLegacy();
    void baseDirectoryTouchesNothingElse();
    void savesAndLoads();
    void bareArrayOfAccountsLoads();
    void savedFileIsSortedAndPrivate();
    void failedLoadLeavesTheFileAlone_data();
    void failedLoadLeavesTheFileAlone();
    void unreadableFileIsKeptBeforeTheNextSave();
    void keptFilesAreNeverOverwritten();
    void fileWithoutReadPermissionIsKept();
    void repairedFileIsNotMovedAside();
    void inMemoryRepository();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QString m_dataHome;
};

void TestFileAccountRepository::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_dataHome = m_home->filePath(QStringLiteral("share"));
}

void TestFileAccountRepository::firstStartCreatesAPrivateFolderAndNoFile()
{
    auto created = FileAccountRepository::createInDataLocations({m_dataHome, m_home->filePath("other")});
    QVERIFY(created.ok());
    auto &repository = *created.value();
    const QString folder = m_dataHome + "/org.tallyport.Tallyport";
    QCOMPARE(repository.filePath(), folder + "/accounts.json");
    QCOMPARE(fileMode(folder), 0700);
    QVERIFY(filesIn(folder).isEmpty());

    const auto state = repository.loadState();
    QVERIFY(state.ok());
    QCOMPARE(state.value(), AccountsState{});
    QVERIFY(filesIn(folder).isEmpty());
    QVERIFY(!QFileInfo::exists(m_home->filePath("other")));
}

void TestFileAccountRepository::noDataFolderIsReported()
{
    for (const QStringList &locations : {QStringList(), QStringList{QString()}}) {
        const auto created = FileAccountRepository::createInDataLocations(locations);
        QVERIFY(!created.ok());
        QCOMPARE(created.error().kind, Error::Kind::ApplicationSupportUnavailable);
    }
    // A file where the folder should be.
    writeFile(m_dataHome + "/org.tallyport.Tallyport", "x");
    const auto blocked = FileAccountRepository::createInDataLocations({m_dataHome});
    QVERIFY(!blocked.ok());
    QVERIFY(!blocked.error().systemText.isEmpty());
}

void TestFileAccountRepository::dataFolderComesFromXdgDataHome()
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome));
    auto created = FileAccountRepository::create();
    saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);
    QVERIFY(created.ok());
    QCOMPARE(created.value()->filePath(), m_dataHome + "/org.tallyport.Tallyport/accounts.json");
}

void TestFileAccountRepository::legacyFileIsCopiedOnce()
{
    const QString legacy = m_dataHome + "/org.tallyport.Limits/accounts.json";
    const AccountsState old = sampleState(QStringLiteral("из старой версии"));
    const QByteArray oldBytes = QJsonDocument(JsonCoding::encode(old)).toJson();
    writeFile(legacy, oldBytes);

    auto repository = std::move(FileAccountRepository::createInDataLocations({m_dataHome}).value());
    QCOMPARE(fileBytes(repository->filePath()), oldBytes);
    QCOMPARE(fileMode(repository->filePath()), 0600);
    QCOMPARE(repository->loadState().value(), old);

    const AccountsState current = sampleState();
    QVERIFY(repository->saveState(current).ok());
    QVERIFY(fileBytes(repository->filePath()) != oldBytes);
    QCOMPARE(fileBytes(legacy), oldBytes);

    // The next start copies nothing, even when the old file changed.
    writeFile(legacy, "[]");
    auto again = std::move(FileAccountRepository::createInDataLocations({m_dataHome}).value());
    QCOMPARE(again->loadState().value(), current);
    QCOMPARE(fileBytes(legacy), QByteArray("[]"));
}

void TestFileAccountRepository::currentFileWinsOverLegacy()
{
    writeFile(m_dataHome + "/org.tallyport.Limits/accounts.json", "[{\"name\": \"old\"}]");
    writeFile(m_dataHome + "/org.tallyport.Tallyport/accounts.json", "[{\"name\": \"new\"}]");
    auto repository = std::move(FileAccountRepository::createInDataLocations({m_dataHome}).value());
    const auto state = repository->loadState();
    QCOMPARE(state.value().accounts.size(), 1);
    QCOMPARE(state.value().accounts[0].name, QStringLiteral("new"));
}

void TestFileAccountRepository::baseDirectoryTouchesNothingElse()
{
    writeFile(m_dataHome + "/org.tallyport.Limits/accounts.json", "[{\"name\": \"old\"}]");
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome));
    const QString base = m_home->filePath("elsewhere/nested");
    auto created = FileAccountRepository::create(base);
    saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);
    QVERIFY(created.ok());
    auto &repository = *created.value();
    QCOMPARE(repository.filePath(), base + "/accounts.json");
    QCOMPARE(fileMode(base), 0700);
    QCOMPARE(repository.loadState().value(), AccountsState{});
    QVERIFY(repository.saveState(sampleState()).ok());
    QCOMPARE(QDir(m_dataHome).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"org.tallyport.Limits"});
}

void TestFileAccountRepository::savesAndLoads()
{
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    const AccountsState state = sampleState();
    QVERIFY(repository->saveState(state).ok());
    QCOMPARE(repository->loadState().value(), state);
    QVERIFY(repository->saveState(AccountsState{}).ok());
    QCOMPARE(repository->loadState().value(), AccountsState{});
}

void TestFileAccountRepository::bareArrayOfAccountsLoads()
{
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    writeFile(repository->filePath(), R"([{"name": "a", "resetAt": "2026-03-09T14:05:09Z", "createdAt": "2026-03-01T00:00:00Z"},
                                           {"name": "b", "createdAt": "2026-03-01T00:00:00Z"}])");
    const auto state = repository->loadState();
    QVERIFY(state.ok());
    QCOMPARE(state.value().accounts.size(), 2);
    QCOMPARE(state.value().accounts[0].serviceId, Service::systemID);
    QVERIFY(state.value().services.isEmpty() && state.value().events.isEmpty());

    QVERIFY(repository->saveState(state.value()).ok());
    const QJsonObject saved = QJsonDocument::fromJson(fileBytes(repository->filePath())).object();
    QCOMPARE(saved.keys(), QStringList({"accounts", "events", "services"}));
    QCOMPARE(repository->loadState().value(), state.value());
}

void TestFileAccountRepository::savedFileIsSortedAndPrivate()
{
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    writeFile(repository->filePath(), "{}");
    QVERIFY(::chmod(QFile::encodeName(repository->filePath()).constData(), 0644) == 0);
    QVERIFY(repository->saveState(sampleState()).ok());
    QCOMPARE(fileMode(repository->filePath()), 0600);

    const QByteArray bytes = fileBytes(repository->filePath());
    QVERIFY(bytes.startsWith("{\n    \"accounts\": [\n        {\n            \"archivedAt\": \"2026-03-03T00:00:00Z\",\n"));
    QVERIFY(bytes.indexOf("\"archivedAt\"") < bytes.indexOf("\"createdAt\""));
    QVERIFY(bytes.indexOf("\"accounts\"") < bytes.indexOf("\"events\""));
    QVERIFY(bytes.indexOf("\"events\"") < bytes.indexOf("\"services\""));
    QVERIFY(bytes.endsWith("    ]\n}\n"));
    QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
}

void TestFileAccountRepository::failedLoadLeavesTheFileAlone_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("truncated") << QByteArray(R"({"accounts": [{"name": "a")");
    QTest::newRow("neither form") << QByteArray(R"("accounts")");
    QTest::newRow("bad record") << QByteArray(R"({"events": [{"type": "renamed"}]})");
    QTest::newRow("empty") << QByteArray();
}

void TestFileAccountRepository::failedLoadLeavesTheFileAlone()
{
    QFETCH(QByteArray, bytes);
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    writeFile(repository->filePath(), bytes);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto state = repository->loadState();
        QVERIFY(!state.ok());
        QCOMPARE(state.error().kind, Error::Kind::Decoding);
    }
    QCOMPARE(fileBytes(repository->filePath()), bytes);
    QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
}

void TestFileAccountRepository::unreadableFileIsKeptBeforeTheNextSave()
{
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    const QByteArray damaged = R"({"accounts": [{"name": "всё, что было"})";
    writeFile(repository->filePath(), damaged);
    QVERIFY(!repository->loadState().ok());

    const AccountsState state = sampleState();
    QVERIFY(repository->saveState(state).ok());
    const QStringList files = filesIn(m_home->path());
    QCOMPARE(files.size(), 2);
    QCOMPARE(files[0], QStringLiteral("accounts.json"));
    QVERIFY2(QRegularExpression(R"(^accounts\.json\.unreadable-\d{8}T\d{6}Z$)").match(files[1]).hasMatch(),
             qPrintable(files[1]));
    QCOMPARE(fileBytes(m_home->filePath(files[1])), damaged);
    QCOMPARE(repository->loadState().value(), state);

    // Only the first save after the failure moves the file aside.
    QVERIFY(repository->saveState(AccountsState{}).ok());
    QCOMPARE(filesIn(m_home->path()).size(), 2);
}

void TestFileAccountRepository::keptFilesAreNeverOverwritten()
{
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    // Names for every second the save below can take already exist.
    const QDateTime start = QDateTime::currentDateTimeUtc();
    for (int second = 0; second < 30; ++second)
        writeFile(repository->filePath() + ".unreadable-"
                      + start.addSecs(second).toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")),
                  QByteArray::number(second));
    writeFile(repository->filePath(), "not JSON");
    QVERIFY(!repository->loadState().ok());
    QVERIFY(repository->saveState(sampleState()).ok());

    const QStringList kept = filesIn(m_home->path()).filter(QRegularExpression("Z-2$"));
    QCOMPARE(kept.size(), 1);
    QCOMPARE(fileBytes(m_home->filePath(kept[0])), QByteArray("not JSON"));
    for (int second = 0; second < 30; ++second)
        QCOMPARE(fileBytes(repository->filePath() + ".unreadable-"
                           + start.addSecs(second).toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"))),
                 QByteArray::number(second));
}

void TestFileAccountRepository::fileWithoutReadPermissionIsKept()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    writeFile(repository->filePath(), "[]");
    QVERIFY(::chmod(QFile::encodeName(repository->filePath()).constData(), 0) == 0);
    const auto state = repository->loadState();
    QVERIFY(!state.ok());
    QCOMPARE(state.error().kind, Error::Kind::FileAccess);
    QVERIFY(repository->saveState(sampleState()).ok());
    const QStringList files = filesIn(m_home->path());
    QCOMPARE(files.size(), 2);
    QCOMPARE(fileMode(m_home->filePath(files[1])), 0);
}

void TestFileAccountRepository::repairedFileIsNotMovedAside()
{
    auto repository = std::move(FileAccountRepository::create(m_home->path()).value());
    writeFile(repository->filePath(), "not JSON");
    QVERIFY(!repository->loadState().ok());
    writeFile(repository->filePath(), "[]");
    QVERIFY(repository->loadState().ok());
    QVERIFY(repository->saveState(sampleState()).ok());
    QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
}

void TestFileAccountRepository::inMemoryRepository()
{
    InMemoryAccountRepository repository;
    QCOMPARE(repository.loadState().value(), AccountsState{});
    const AccountsState state = sampleState();
    QVERIFY(repository.saveState(state).ok());
    QCOMPARE(repository.loadState().value(), state);
}

QTEST_GUILESS_MAIN(TestFileAccountRepository)
#include "tst_fileaccountrepository.moc"
