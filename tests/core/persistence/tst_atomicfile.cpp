#include "FileMode.h"
#include "persistence/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    void writtenFilesAreOwnerOnly_data();
    void writtenFilesAreOwnerOnly();
    void writeFailures();
    void readFailures_data();
    void readFailures();
    void permissionDenied();
};

void TestAtomicFile::writtenFilesAreOwnerOnly_data()
{
    QTest::addColumn<int>("existingMode"); // -1: no file yet
    QTest::newRow("new file") << -1;
    QTest::newRow("over 0644") << 0644;
    QTest::newRow("over 0666") << 0666;
}

void TestAtomicFile::writtenFilesAreOwnerOnly()
{
    QFETCH(int, existingMode);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("accounts.json"));
    if (existingMode >= 0) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents that are longer than the new ones");
        old.close();
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(existingMode)) == 0);
    }
    QVERIFY(writeFileAtomically(path, "{}\n").ok());
    QCOMPARE(readWholeFile(path).value(), QByteArray("{}\n"));
    QCOMPARE(fileMode(path), 0600);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"accounts.json"});
}

void TestAtomicFile::writeFailures()
{
    QTemporaryDir folder;
    const auto missingFolder = writeFileAtomically(folder.filePath(QStringLiteral("missing/accounts.json")), "{}");
    QVERIFY(!missingFolder.ok());
    QCOMPARE(missingFolder.error().kind, Error::Kind::FileWrite);
    QVERIFY(!missingFolder.error().systemText.isEmpty());

    // A folder where the file should be: the folder stays as it was.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("accounts.json")));
    QVERIFY(!writeFileAtomically(folder.filePath(QStringLiteral("accounts.json")), "{}").ok());
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("accounts.json"))).isDir());
}

void TestAtomicFile::readFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Error::Kind>("kind");
    QTest::newRow("missing") << "missing.json" << Error::Kind::FileNotFound;
    QTest::newRow("in a missing folder") << "missing/accounts.json" << Error::Kind::FileNotFound;
    QTest::newRow("a folder") << "folder" << Error::Kind::FileRead;
}

void TestAtomicFile::readFailures()
{
    QFETCH(QString, name);
    QFETCH(Error::Kind, kind);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    const auto read = readWholeFile(folder.filePath(name));
    QVERIFY(!read.ok());
    QCOMPARE(read.error().kind, kind);
    QVERIFY(!read.error().systemText.isEmpty());
}

void TestAtomicFile::permissionDenied()
{
    if (::geteuid() == 0)
        QSKIP("permissions do not bind the superuser");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("accounts.json"));
    QVERIFY(writeFileAtomically(path, "{}").ok());
    QVERIFY(QFile::setPermissions(path, {}));
    QCOMPARE(readWholeFile(path).error().kind, Error::Kind::FileAccess);
    QVERIFY(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QCOMPARE(writeFileAtomically(path, "{}").error().kind, Error::Kind::FileAccess);
    QVERIFY(
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
