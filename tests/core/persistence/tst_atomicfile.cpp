#include "FileMode.h"
#include "persistence/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>

class TestAtomicFile : public QObject {
    Q_OBJECT

private slots:
    // Written files are owner-only, also over a file that was not.
    void writtenFilesAreOwnerOnly()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("accounts.json"));
        QVERIFY(writeFileAtomically(path, "old contents that are longer than the new ones").ok());
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
        QVERIFY(writeFileAtomically(path, "{}\n").ok());
        QCOMPARE(readWholeFile(path).value(), QByteArray("{}\n"));
        QCOMPARE(fileMode(path), 0600);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"accounts.json"});
    }

    void writeFailures()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("accounts.json"));
        QVERIFY(writeFileAtomically(path, "old").ok());
        const auto missingFolder = writeFileAtomically(folder.filePath(QStringLiteral("missing/accounts.json")), "{}");
        QCOMPARE(missingFolder.error().kind, Error::Kind::FolderNotFound);
        // A disk that fills up halfway: the old file stays whole, nothing is left behind.
        const auto full = writeFileAtomically(path, [](QIODevice &device) {
            device.write("half");
            errno = ENOSPC;
            return false;
        });
        QCOMPARE(full.error().kind, Error::Kind::DiskFull);
        QCOMPARE(readWholeFile(path).value(), QByteArray("old"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"accounts.json"});

        // A folder where the file should be: the folder stays as it was.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder")));
        QCOMPARE(writeFileAtomically(folder.filePath(QStringLiteral("folder")), "{}").error().kind,
                 Error::Kind::IsFolder);
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("folder"))).isDir());
    }

    void readFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<Error::Kind>("kind");
        const qint64 any = std::numeric_limits<qint64>::max();
        QTest::newRow("missing") << "missing.json" << any << Error::Kind::FileNotFound;
        QTest::newRow("a folder") << "folder" << any << Error::Kind::IsFolder;
        QTest::newRow("a file as a folder") << "small.json/x" << any << Error::Kind::NotAFolder;
        QTest::newRow("larger than allowed") << "small.json" << qint64(2) << Error::Kind::TooLarge;
        QTest::newRow("a device without end") << "/dev/zero" << qint64(1 << 20) << Error::Kind::TooLarge;
    }

    void readFailures()
    {
        QFETCH(QString, name);
        QFETCH(qint64, maxBytes);
        QFETCH(Error::Kind, kind);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder")));
        QVERIFY(writeFileAtomically(folder.filePath(QStringLiteral("small.json")), "{}\n").ok());
        const QString path = name.startsWith(u'/') ? name : folder.filePath(name);
        const auto read = readWholeFile(path, maxBytes);
        QVERIFY(!read.ok());
        QCOMPARE(read.error().kind, kind);
        QCOMPARE(read.error().path, path);
    }

    // Every cause the system reports becomes a Russian sentence that says what
    // is wrong and names the file or its folder, never the system's own text.
    void failureMessages_data()
    {
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<bool>("writing");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing file") << ENOENT << false << "не существует";
        QTest::newRow("missing folder") << ENOENT << true << "Папка «/home/u/Документы» не существует";
        QTest::newRow("no read permission") << EACCES << false << "чтение файла «/home/u/Документы/b.json»";
        QTest::newRow("no write permission") << EACCES << true << "запись в папку «/home/u/Документы»";
        QTest::newRow("read-only folder") << EROFS << true << "только для чтения";
        QTest::newRow("full disk") << ENOSPC << true << "Недостаточно места";
        QTest::newRow("file for a folder") << ENOTDIR << true << "вместо папки стоит файл";
        QTest::newRow("unknown cause") << 12345 << true << "не удалось записать";
    }

    void failureMessages()
    {
        QFETCH(int, errorNumber);
        QFETCH(bool, writing);
        QFETCH(QString, cause);
        const QString path = QStringLiteral("/home/u/Документы/b.json");
        const QString message =
            Error::fromErrno(errorNumber, writing ? Error::Access::write : Error::Access::read, path)
                .localizedDescription();
        QVERIFY2(message.contains(cause), qPrintable(message));
        QVERIFY2(message.contains(u"«/home/u/Документы"), qPrintable(message));
        QVERIFY2(
            !QString(message).remove(path).remove(QStringLiteral("/home/u/")).contains(QRegularExpression("[A-Za-z]")),
            qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
