#include "AppConfig.h"
#include "FileMode.h"
#include "model/JsonCoding.h"
#include "persistence/AtomicFile.h"
#include "persistence/FileAccountRepository.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

AccountsState sampleState(const QString &name = QStringLiteral("Рабочий"))
{
    Service service{QUuid::createUuid(), QStringLiteral("Claude"), utc("2026-01-01T00:00:00Z"), false};
    Account account{QUuid::createUuid(),
                    service.id,
                    name,
                    QStringLiteral("заметка"),
                    QStringLiteral("secret"),
                    utc("2026-01-02T00:00:00Z"),
                    utc("2026-03-02T14:05:09Z"),
                    utc("2026-03-09T14:05:09Z"),
                    true,
                    utc("2026-03-03T00:00:00Z"),
                    false};
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

QByteArray fileBytes(const QString &path)
{
    return readWholeFile(path).value();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestFileAccountRepository : public QObject {
    Q_OBJECT

private slots:
    void init();

    void firstStartCreatesAPrivateFolderAndNoFile();
    void noDataFolderIsReported();
    void dataFolderComesFromXdgDataHomeOrTheBaseDirectory();
    void readInPlaceCreatesNothing();
    void legacyFileIsCopiedOnce();
    void currentFileWinsOverLegacy();
    void savedFileIsSortedAndPrivate();
    void failedLoadLeavesTheFileAlone_data();
    void failedLoadLeavesTheFileAlone();
    void unreadableFileIsKeptBeforeTheNextSave();
    void keptFilesAreNeverOverwritten();
    void fileWithoutReadPermissionIsKept();
    void repairedFileIsNotMovedAside();

private:
    auto openInHome() { return std::move(FileAccountRepository::create(m_home->path()).value()); }
    auto openInDataHome() { return std::move(FileAccountRepository::createInDataLocations({m_dataHome}).value()); }

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
    QCOMPARE(repository.loadState().value(), AccountsState{});
    QVERIFY(filesIn(folder).isEmpty());
    QVERIFY(!QFileInfo::exists(m_home->filePath("other")));
}

void TestFileAccountRepository::noDataFolderIsReported()
{
    for (const QStringList &locations : {QStringList(), QStringList{QString()}}) {
        const auto created = FileAccountRepository::createInDataLocations(locations);
        QVERIFY(!created.ok());
        QCOMPARE(created.error().kind, Error::Kind::DataFolderUnavailable);
    }
    // A file where the folder should be.
    writeFile(m_dataHome + "/org.tallyport.Tallyport", "x");
    const auto blocked = FileAccountRepository::createInDataLocations({m_dataHome});
    QVERIFY(!blocked.ok());
    QCOMPARE(blocked.error().kind, Error::Kind::NotAFolder);
}

void TestFileAccountRepository::dataFolderComesFromXdgDataHomeOrTheBaseDirectory()
{
    writeFile(m_dataHome + "/org.tallyport.Limits/accounts.json", "[{\"name\": \"old\"}]");
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome));
    const QString base = m_home->filePath("elsewhere/nested");
    auto created = FileAccountRepository::create(base);
    const QStringList dataHome = QDir(m_dataHome).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    auto fromXdg = FileAccountRepository::create();
    saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);
    QCOMPARE(fromXdg.value()->filePath(), m_dataHome + "/org.tallyport.Tallyport/accounts.json");

    // A base directory neither reads nor touches the data folder.
    QCOMPARE(dataHome, QStringList{"org.tallyport.Limits"});
    auto &repository = *created.value();
    QCOMPARE(repository.filePath(), base + "/accounts.json");
    QCOMPARE(fileMode(base), 0700);
    QCOMPARE(repository.loadState().value(), AccountsState{});
    QVERIFY(repository.saveState(sampleState()).ok());
    QCOMPARE(filesIn(base), QStringList{"accounts.json"});
}

// What status and export read: the previous edition's file where it lies,
// with nothing created, and the current one once it exists.
void TestFileAccountRepository::readInPlaceCreatesNothing()
{
    QCOMPARE(FileAccountRepository::readInPlace({m_dataHome}).value(), AccountsState{});
    writeFile(m_dataHome + "/org.tallyport.Limits/accounts.json", "[{\"name\": \"old\"}]");
    QCOMPARE(FileAccountRepository::readInPlace({m_dataHome}).value().accounts.at(0).name, QStringLiteral("old"));
    QCOMPARE(QDir(m_dataHome).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"org.tallyport.Limits"});
    writeFile(m_dataHome + "/org.tallyport.Tallyport/accounts.json", "{\"other\": 1}");
    const Error foreign = FileAccountRepository::readInPlace({m_dataHome}).error();
    QCOMPARE(foreign.kind, Error::Kind::NotStateFile);
    QVERIFY(foreign.keptAs.isEmpty()); // reading never renames anything
}

void TestFileAccountRepository::legacyFileIsCopiedOnce()
{
    const QString legacy = m_dataHome + "/org.tallyport.Limits/accounts.json";
    const AccountsState old = sampleState(QStringLiteral("из старой версии"));
    const QByteArray oldBytes = QJsonDocument(JsonCoding::encode(old)).toJson();
    writeFile(legacy, oldBytes);

    auto repository = openInDataHome();
    QCOMPARE(fileBytes(repository->filePath()), oldBytes);
    QCOMPARE(fileMode(repository->filePath()), 0600);
    QCOMPARE(repository->loadState().value(), old);

    const AccountsState current = sampleState();
    QVERIFY(repository->saveState(current).ok());
    QVERIFY(fileBytes(repository->filePath()) != oldBytes);
    QCOMPARE(fileBytes(legacy), oldBytes);

    // The next start copies nothing, even when the old file changed.
    writeFile(legacy, "[]");
    QCOMPARE(openInDataHome()->loadState().value(), current);
    QCOMPARE(fileBytes(legacy), QByteArray("[]"));
}

// Also loads the older bare-array form through the repository.
void TestFileAccountRepository::currentFileWinsOverLegacy()
{
    writeFile(m_dataHome + "/org.tallyport.Limits/accounts.json", "[{\"name\": \"old\"}]");
    writeFile(m_dataHome + "/org.tallyport.Tallyport/accounts.json", "[{\"name\": \"new\"}]");
    const auto state = openInDataHome()->loadState();
    QCOMPARE(state.value().accounts.size(), 1);
    QCOMPARE(state.value().accounts[0].name, QStringLiteral("new"));
}

void TestFileAccountRepository::savedFileIsSortedAndPrivate()
{
    auto repository = openInHome();
    writeFile(repository->filePath(), "{}");
    QVERIFY(::chmod(QFile::encodeName(repository->filePath()).constData(), 0644) == 0);
    QVERIFY(repository->saveState(sampleState()).ok());
    QCOMPARE(fileMode(repository->filePath()), 0600);

    const QByteArray bytes = fileBytes(repository->filePath());
    QVERIFY(
        bytes.startsWith("{\n    \"accounts\": [\n        {\n            \"archivedAt\": \"2026-03-03T00:00:00Z\",\n"));
    QVERIFY(bytes.indexOf("\"events\"") < bytes.indexOf("\"services\""));
    QVERIFY(bytes.endsWith("    ]\n}\n"));
    QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
}

void TestFileAccountRepository::failedLoadLeavesTheFileAlone_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Error::Kind>("kind");
    QTest::newRow("truncated") << QByteArray(R"({"accounts": [{"name": "a")") << Error::Kind::Decoding;
    QTest::newRow("bad record") << QByteArray(R"({"events": [{"type": "renamed"}]})") << Error::Kind::Decoding;
    QTest::newRow("empty") << QByteArray() << Error::Kind::Decoding;
    QTest::newRow("a backup saved over it")
        << QByteArray(R"({"schemaVersion": 1, "saltBase64": "c2FsdA=="})") << Error::Kind::NotStateFile;
}

void TestFileAccountRepository::failedLoadLeavesTheFileAlone()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Error::Kind, kind);
    auto repository = openInHome();
    writeFile(repository->filePath(), bytes);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Error error = repository->loadState().error();
        QCOMPARE(error.kind, kind);
        QCOMPARE(error.path, repository->filePath());
    }
    QCOMPARE(fileBytes(repository->filePath()), bytes);
    QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
}

void TestFileAccountRepository::unreadableFileIsKeptBeforeTheNextSave()
{
    auto repository = openInHome();
    const QByteArray damaged = R"({"accounts": [{"name": "всё, что было"})";
    writeFile(repository->filePath(), damaged);
    const QString keptAs = repository->loadState().error().keptAs; // the name the user is told

    const AccountsState state = sampleState();
    QVERIFY(repository->saveState(state).ok());
    const QStringList files = filesIn(m_home->path());
    QCOMPARE(files.size(), 2);
    QCOMPARE(files[0], QStringLiteral("accounts.json"));
    QCOMPARE(m_home->filePath(files[1]), keptAs);
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
    auto repository = openInHome();
    // Names for every second the save below can take already exist.
    const QDateTime start = QDateTime::currentDateTimeUtc();
    const auto kept = [&](int second) {
        return repository->filePath() + ".unreadable-" + start.addSecs(second).toString("yyyyMMdd'T'HHmmss'Z'");
    };
    for (int second = 0; second < 30; ++second)
        writeFile(kept(second), QByteArray::number(second));
    writeFile(repository->filePath(), "not JSON");
    QVERIFY(!repository->loadState().ok());
    QVERIFY(repository->saveState(sampleState()).ok());

    const QStringList suffixed = filesIn(m_home->path()).filter(QRegularExpression("Z-2$"));
    QCOMPARE(suffixed.size(), 1);
    QCOMPARE(fileBytes(m_home->filePath(suffixed[0])), QByteArray("not JSON"));
    for (int second = 0; second < 30; ++second)
        QCOMPARE(fileBytes(kept(second)), QByteArray::number(second));
}

void TestFileAccountRepository::fileWithoutReadPermissionIsKept()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    auto repository = openInHome();
    writeFile(repository->filePath(), "[]");
    QVERIFY(::chmod(QFile::encodeName(repository->filePath()).constData(), 0) == 0);
    QCOMPARE(repository->loadState().error().kind, Error::Kind::FileAccess);
    QVERIFY(repository->saveState(sampleState()).ok());
    const QStringList files = filesIn(m_home->path());
    QCOMPARE(files.size(), 2);
    QCOMPARE(fileMode(m_home->filePath(files[1])), 0);
}

void TestFileAccountRepository::repairedFileIsNotMovedAside()
{
    auto repository = openInHome();
    writeFile(repository->filePath(), "not JSON");
    QVERIFY(!repository->loadState().ok());
    writeFile(repository->filePath(), "[]");
    QVERIFY(repository->loadState().ok());
    QVERIFY(repository->saveState(sampleState()).ok());
    QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
}

QTEST_GUILESS_MAIN(TestFileAccountRepository)
#include "tst_fileaccountrepository.moc"
