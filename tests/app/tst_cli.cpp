// The command line, run as a user would: the real executable on a private
// data folder.
#include "model/JsonCoding.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

const char *const backupPassword = "correct horse battery staple";

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString dataFolder() const { return m_home.filePath("data/org.tallyport.Tallyport"); }
    QString stateFile() const { return dataFolder() + "/accounts.json"; }

    Run tallyport(const QStringList &arguments, const QByteArray &input = {})
    {
        return run(QStringLiteral(TALLYPORT_EXECUTABLE), arguments, input);
    }

    Run run(const QString &program, const QStringList &arguments, const QByteArray &input)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", m_home.filePath("data"));
        env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", m_home.filePath("run"));
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_home.path());
        process.start(program, arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(30000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray readState() const { return readFile(stateFile()); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QString backupFixture() const { return QStringLiteral(TALLYPORT_TEST_DATA "/backup/b01-valid.json"); }

private slots:
    void init()
    {
        QDir(m_home.path()).removeRecursively();
        QDir().mkpath(m_home.filePath("run"));
        QFile::setPermissions(m_home.filePath("run"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // Commands on no data: the exit code, and a text that the output
    // (standard error for failures) holds.
    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "tallyport [--background | КОМАНДА]";
        QTest::newRow("background with a command") << QStringList{"--background", "status"} << 2 << "--background";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Tallyport 1.14";
        QTest::newRow("import help") << QStringList{"import", "x.json", "--help"} << 0 << "tallyport import --mode";
        QTest::newRow("-v after a command") << QStringList{"export", "-v"} << 2 << "-v";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "frobnicate";
        QTest::newRow("-- ends options") << QStringList{"--", "--version"} << 2 << "команда --version";
        QTest::newRow("status with a file") << QStringList{"status", "x.json"} << 2 << "--json";
        QTest::newRow("import bad mode") << QStringList{"import", "--mode", "append", "x.json"} << 2 << "--mode";
        QTest::newRow("file named -v") << QStringList{"export", "--", "-v"} << 0 << "/-v\n";
        QTest::newRow("export into a missing folder")
            << QStringList{"export", "missing/b.json"} << 1 << QStringLiteral("Не удалось выполнить экспорт: ");
    }

    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        const Run run = tallyport(arguments, "pw\n");
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(says), qPrintable(run.out + run.err));
        if (exitCode == 2)
            QVERIFY(run.err.startsWith("tallyport: "));
        QVERIFY(!QFile::exists(stateFile()));
    }

    // status and export read the previous edition's files where they lie
    // and create nothing, not even the data folder.
    void readOnlyCommandsCreateNothing()
    {
        const Run empty = tallyport({"status", "--json"});
        QCOMPARE(empty.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(empty.out.toUtf8()).array().size(), 0);

        writeFile(m_home.filePath("data/org.tallyport.Limits/accounts.json"), R"([{"name": "из старой версии"}])");
        QSettings(m_home.filePath("config/org.tallyport.Limits.conf"), QSettings::IniFormat)
            .setValue("preferences", R"({"timerFormat": "full"})");
        QVERIFY(tallyport({"status"}).out.contains(QStringLiteral("из старой версии")));
        QCOMPARE(tallyport({"export", m_home.filePath("b.json")}, "pw\n").exitCode, 0);
        QVERIFY(!QFileInfo::exists(dataFolder()));
        QVERIFY(!QFileInfo::exists(m_home.filePath("config/org.tallyport.Tallyport.conf")));
    }

    // Names are bytes on Linux: one that is not UTF-8 is written and read
    // under exactly the bytes given.
    void fileNamesKeepEveryByte()
    {
        const QString exe = QStringLiteral(TALLYPORT_EXECUTABLE);
        const QString name = QStringLiteral("\"$(printf 'b\\377.json')\"");
        QCOMPARE(run("/bin/sh", {"-c", "exec \"$0\" export " + name, exe}, "pw\n").exitCode, 0);
        const QByteArray home = QFile::encodeName(m_home.path());
        QCOMPARE(::access(home + "/b\xff.json", F_OK), 0);
        QCOMPARE(::access(home + "/b\xef\xbf\xbd.json", F_OK), -1); // not under U+FFFD in its place
        const Run imported = run("/bin/sh", {"-c", "exec \"$0\" import --mode merge " + name, exe}, "pw\n");
        QCOMPARE(imported.exitCode, 0);
    }

    // The fixture imported, shown, exported, refused over the state, and merged back.
    void importStatusExportImport()
    {
        QCOMPARE(tallyport({"import", "--mode", "replace", backupFixture()}, backupPassword).exitCode, 0);
        const QJsonArray accounts = QJsonDocument::fromJson(tallyport({"status", "--json"}).out.toUtf8()).array();
        QCOMPARE(accounts.size(), 3);
        const QJsonObject first = accounts.at(0).toObject();
        QCOMPARE(first.value("status").toString(), QStringLiteral("restored"));
        QCOMPARE(first.value("resetAt").toString(), QStringLiteral("2026-03-08T10:00:00Z"));
        QVERIFY(!first.contains("remainingSeconds"));
        QVERIFY(accounts.at(2).toObject().value("hasNoLimits").toBool());
        QVERIFY(tallyport({"status"}).out.contains(QStringLiteral("Личный\tClaude\tне запущен")));

        const QByteArray before = readState();
        const QString backup = m_home.filePath("b.json");
        QCOMPARE(tallyport({"export", backup}, "пароль\n").exitCode, 0);
        // Not even a backup may be written over the data it backs up.
        const Run overState = tallyport({"export", stateFile()}, "пароль\n");
        QCOMPARE(overState.exitCode, 1);
        QVERIFY2(overState.err.contains(QStringLiteral("хранит свои данные")), qPrintable(overState.err));
        QCOMPARE(readState(), before);

        QFile::remove(stateFile());
        QCOMPARE(tallyport({"import", "--mode=merge", backup}, "пароль\n").exitCode, 0);
        const QJsonObject state = QJsonDocument::fromJson(readState()).object();
        QCOMPARE(state.value("accounts").toArray().size(), 3);
        QCOMPARE(state.value("services").toArray().size(), 3);
    }

    // A refused import leaves the state as it was; so does one while the
    // window (here: this live process) holds the lock.
    void failuresChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("message");
        const QString failed = QStringLiteral("Не удалось выполнить импорт: ");
        QTest::newRow("wrong password") << QByteArray("nope\n") << backupFixture() << false << failed;
        QTest::newRow("no input") << QByteArray() << backupFixture() << false
                                  << QStringLiteral("Пароль архива не может быть пустым.");
        QTest::newRow("not a backup") << QByteArray("pw\n")
                                      << QStringLiteral(TALLYPORT_TEST_DATA "/backup/b08-json-array.json") << false
                                      << failed;
        QTest::newRow("window holds the lock")
            << QByteArray(backupPassword) << backupFixture() << true << QStringLiteral("запущенном окне");
    }

    void failuresChangeNothing()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, file);
        QFETCH(bool, locked);
        QFETCH(QString, message);
        QCOMPARE(tallyport({"import", "--mode", "replace", backupFixture()}, backupPassword).exitCode, 0);
        const QByteArray before = readState();
        QLockFile lock(stateFile() + ".lock");
        QVERIFY(!locked || lock.tryLock(0));
        const Run run = tallyport({"import", "--mode", "replace", file}, input);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QCOMPARE(readState(), before);
    }

    // A file that is no state is named, kept under the name given, and never
    // written over.
    void foreignStateFileIsKeptAndNamed()
    {
        const QByteArray foreign = R"({"schemaVersion": 1, "saltBase64": "c2FsdA=="})";
        writeFile(stateFile(), foreign);
        const Run status = tallyport({"status"});
        QCOMPARE(status.exitCode, 1);
        QVERIFY2(status.err.contains(QStringLiteral("«%1» не является файлом данных").arg(stateFile())),
                 qPrintable(status.err));

        const Run imported = tallyport({"import", "--mode", "replace", backupFixture()}, backupPassword);
        QCOMPARE(imported.exitCode, 0);
        const QStringList kept = QDir(dataFolder()).entryList({"accounts.json.unreadable-*"});
        QCOMPARE(kept.size(), 1);
        QVERIFY2(imported.err.contains(dataFolder() + "/" + kept.first()), qPrintable(imported.err));
        QCOMPARE(readFile(dataFolder() + "/" + kept.first()), foreign);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_cli.moc"
