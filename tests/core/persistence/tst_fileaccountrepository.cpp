// The state file on disk: where it lives, how it is written, the one-time copy
// of the previous edition's file, and what happens to a file that cannot be read.
#include "FileMode.h"
#include "persistence/AtomicFile.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/StateFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

AccountsState sampleState()
{
    const QDateTime created = QDateTime::fromSecsSinceEpoch(1767225600, Qt::UTC);
    return {{Service::systemService()},
            {{QUuid::createUuid(), Service::systemID, "Рабочий", {}, {}, created, {}, {}, false, {}, false}},
            {}};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestFileAccountRepository : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    QString m_dataHome;

    auto openInHome() { return std::move(FileAccountRepository::create(m_home->path()).value()); }
    auto openInDataHome() { return std::move(FileAccountRepository::createInDataLocations({m_dataHome}).value()); }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        m_dataHome = m_home->filePath(QStringLiteral("share"));
    }

    void dataFolder()
    {
        // The first data location, made private; a first start writes no file.
        auto repository = FileAccountRepository::createInDataLocations({m_dataHome, m_home->filePath("other")});
        const QString folder = m_dataHome + "/org.tallyport.Tallyport";
        QCOMPARE(repository.value()->filePath(), folder + "/accounts.json");
        QCOMPARE(fileMode(folder), 0700);
        QCOMPARE(repository.value()->loadState().value(), AccountsState{});
        QVERIFY(filesIn(folder).isEmpty());
        QVERIFY(!QFileInfo::exists(m_home->filePath("other")));
        QCOMPARE(FileAccountRepository::createInDataLocations({QString()}).error().kind,
                 Error::Kind::DataFolderUnavailable);
        // A file where the folder should be.
        writeFile(m_home->filePath("blocked/org.tallyport.Tallyport"), "x");
        QCOMPARE(FileAccountRepository::createInDataLocations({m_home->filePath("blocked")}).error().kind,
                 Error::Kind::NotAFolder);
    }

    // What status and export read: the previous edition's file where it lies,
    // with nothing created, and the current one once it exists.
    void readInPlaceCreatesNothing()
    {
        QCOMPARE(FileAccountRepository::readInPlace({m_dataHome}).value(), AccountsState{});
        writeFile(m_dataHome + "/org.tallyport.Limits/accounts.json", "[{\"name\": \"old\"}]");
        QCOMPARE(FileAccountRepository::readInPlace({m_dataHome}).value().accounts.at(0).name, QStringLiteral("old"));
        QCOMPARE(QDir(m_dataHome).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"org.tallyport.Limits"});
        writeFile(m_dataHome + "/org.tallyport.Tallyport/accounts.json", "{\"other\": 1}");
        const Error foreign = FileAccountRepository::readInPlace({m_dataHome}).error();
        QCOMPARE(foreign.kind, Error::Kind::NotStateFile);
        QVERIFY(foreign.keptAs.isEmpty()); // reading never renames anything
    }

    // The previous edition's file (here its bare-array form) is copied once and never written.
    void legacyFileIsCopiedOnce()
    {
        const QString legacy = m_dataHome + "/org.tallyport.Limits/accounts.json";
        writeFile(legacy, R"([{"name": "из старой версии"}])");
        auto repository = openInDataHome();
        QCOMPARE(fileMode(repository->filePath()), 0600);
        QCOMPARE(repository->loadState().value().accounts.at(0).name, QStringLiteral("из старой версии"));

        const AccountsState current = sampleState();
        QVERIFY(repository->saveState(current).ok());
        QCOMPARE(readWholeFile(repository->filePath()).value(), StateFile::encode(current));
        writeFile(legacy, "[]");
        QCOMPARE(openInDataHome()->loadState().value(), current);
        QCOMPARE(readWholeFile(legacy).value(), QByteArray("[]"));
    }

    // An unreadable file stays as it is until the next save moves it aside, once.
    void unreadableFileIsMovedAsideBeforeTheNextSave_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable"); // by its owner
        QTest::addColumn<Error::Kind>("kind");
        QTest::newRow("truncated") << QByteArray(R"({"accounts": [{"name": "всё, что было"})") << true
                                   << Error::Kind::Decoding;
        QTest::newRow("bad record") << QByteArray(R"({"events": [{"type": "renamed"}]})") << true
                                    << Error::Kind::Decoding;
        QTest::newRow("empty") << QByteArray() << true << Error::Kind::Decoding;
        QTest::newRow("no read permission") << QByteArray("[]") << false << Error::Kind::FileAccess;
        QTest::newRow("a backup saved over it")
            << QByteArray(R"({"schemaVersion": 1, "saltBase64": "c2FsdA=="})") << true << Error::Kind::NotStateFile;
    }

    void unreadableFileIsMovedAsideBeforeTheNextSave()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QFETCH(Error::Kind, kind);
        if (!readable && ::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        auto repository = openInHome();
        writeFile(repository->filePath(), bytes);
        if (!readable)
            QVERIFY(QFile::setPermissions(repository->filePath(), {}));
        QString keptAs; // the name the user is told
        for (int attempt = 0; attempt < 2; ++attempt) {
            const Error error = repository->loadState().error();
            QCOMPARE(error.kind, kind);
            QCOMPARE(error.path, repository->filePath());
            keptAs = error.keptAs;
        }
        QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});

        const AccountsState state = sampleState();
        QVERIFY(repository->saveState(state).ok());
        const QStringList files = filesIn(m_home->path());
        QCOMPARE(files.size(), 2);
        QVERIFY2(QRegularExpression(R"(^accounts\.json\.unreadable-\d{8}T\d{6}Z$)").match(files[1]).hasMatch(),
                 qPrintable(files[1]));
        QCOMPARE(m_home->filePath(files[1]), keptAs);
        QVERIFY(QFile::setPermissions(m_home->filePath(files[1]), QFileDevice::ReadOwner));
        QCOMPARE(readWholeFile(m_home->filePath(files[1])).value(), bytes);
        QCOMPARE(repository->loadState().value(), state);
        QVERIFY(repository->saveState(AccountsState{}).ok());
        QCOMPARE(filesIn(m_home->path()).size(), 2);
    }

    void movedAsideFilesAreNeverOverwritten()
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
        QCOMPARE(readWholeFile(m_home->filePath(suffixed[0])).value(), QByteArray("not JSON"));
        for (int second = 0; second < 30; ++second)
            QCOMPARE(readWholeFile(kept(second)).value(), QByteArray::number(second));
    }

    void fileRepairedBeforeTheSaveStays()
    {
        auto repository = openInHome();
        writeFile(repository->filePath(), "not JSON");
        QVERIFY(!repository->loadState().ok());
        writeFile(repository->filePath(), "[]");
        QVERIFY(repository->loadState().ok());
        QVERIFY(repository->saveState(sampleState()).ok());
        QCOMPARE(filesIn(m_home->path()), QStringList{"accounts.json"});
    }
};

QTEST_GUILESS_MAIN(TestFileAccountRepository)
#include "tst_fileaccountrepository.moc"
