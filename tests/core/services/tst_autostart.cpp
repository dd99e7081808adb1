#include "services/SystemAutostartService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class AutostartTest : public QObject {
    Q_OBJECT

    enum Obstacle { AutostartFile, FolderAsEntry };
    enum OnPath { Nothing, LinkToProgram, OtherProgram };
    QString autostartDir() const { return m_config->path() + QStringLiteral("/autostart"); }
    QString entryPath() const { return autostartDir() + QStringLiteral("/org.tallyport.Tallyport.desktop"); }

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_programs; // bin/ in it is the whole PATH

    QString makeExecutable(const QString &relativePath) const
    {
        const QString path = m_programs->filePath(relativePath);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n") < 0)
            qFatal("cannot create %s", qPrintable(path));
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }

private slots:
    void init()
    {
        m_config = std::make_unique<QTemporaryDir>();
        m_programs = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path()));
        QVERIFY(QDir().mkpath(m_programs->filePath(QStringLiteral("bin"))));
        qputenv("PATH", QFile::encodeName(m_programs->filePath(QStringLiteral("bin"))));
    }

    void execNamesTheProgram_data()
    {
        QTest::addColumn<QString>("program"); // relative to the programs folder
        QTest::addColumn<int>("onPath");      // what bin/tallyport is besides
        QTest::addColumn<QString>("exec");    // TMP stands for the programs folder

        QTest::newRow("installed") << "bin/tallyport" << int(Nothing) << "tallyport";
        QTest::newRow("linked from PATH") << "opt/tallyport" << int(LinkToProgram) << "tallyport";
        QTest::newRow("build folder") << "build/src/tallyport" << int(Nothing) << "\"TMP/build/src/tallyport\"";
        QTest::newRow("another on PATH") << "build/tallyport" << int(OtherProgram) << "\"TMP/build/tallyport\"";
        QTest::newRow("reserved characters")
            << "a b$\"`\\%/tallyport" << int(Nothing) << "\"TMP/a b\\\\$\\\\\"\\\\`\\\\\\\\%%/tallyport\"";
    }

    void execNamesTheProgram()
    {
        QFETCH(QString, program);
        QFETCH(int, onPath);
        QFETCH(QString, exec);
        const QString path = makeExecutable(program);
        if (onPath == LinkToProgram)
            QVERIFY(QFile::link(path, m_programs->filePath(QStringLiteral("bin/tallyport"))));
        else if (onPath == OtherProgram)
            makeExecutable(QStringLiteral("bin/tallyport"));
        SystemAutostartService service(path);
        QCOMPARE(service.status(), AutostartStatus::disabled);
        QVERIFY(service.setEnabled(true).ok());
        QCOMPARE(SystemAutostartService::entryFilePath(), entryPath());

        QFile file(entryPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString line = QStringLiteral("Exec=") + exec.replace(QStringLiteral("TMP"), m_programs->path())
            + QStringLiteral(" --background");
        QVERIFY2(QString::fromUtf8(file.readAll()).split(u'\n').contains(line), qPrintable(line));
        // Reading the entry back finds the same program.
        QCOMPARE(service.status(), AutostartStatus::enabled);

        QVERIFY(service.setEnabled(false).ok());
        QCOMPARE(service.status(), AutostartStatus::disabled);
        // Nothing to remove is no failure.
        QVERIFY(service.setEnabled(false).ok());
    }

    void statusOfExistingEntry_data()
    {
        QTest::addColumn<QByteArray>("entry"); // PROGRAM stands for our executable
        QTest::addColumn<AutostartStatus>("expected");

        const QByteArray ours = "[Desktop Entry]\nType=Application\nExec=PROGRAM\n";
        QTest::newRow("hidden") << ours + "Hidden=true\n" << AutostartStatus::disabled;
        QTest::newRow("switched off in GNOME") << ours + "X-GNOME-Autostart-enabled=false\n"
                                               << AutostartStatus::disabled;
        QTest::newRow("copied launcher") << QByteArray("[Desktop Entry]\nExec=tallyport %U\n")
                                         << AutostartStatus::enabled;
        QTest::newRow("Exec in another group")
            << QByteArray("[Desktop Entry]\nExec=/usr/bin/other\n[Desktop Action x]\nExec=PROGRAM\n")
            << AutostartStatus::unavailable;
        QTest::newRow("program moved away")
            << QByteArray("[Desktop Entry]\nExec=/nonexistent/tallyport\n") << AutostartStatus::unavailable;
    }

    void statusOfExistingEntry()
    {
        QFETCH(QByteArray, entry);
        QFETCH(AutostartStatus, expected);
        const QString program = makeExecutable(QStringLiteral("bin/tallyport"));
        QDir().mkpath(autostartDir());
        QFile file(entryPath());
        QVERIFY(file.open(QIODevice::WriteOnly)
                && file.write(entry.replace("PROGRAM", QFile::encodeName(program))) > 0);
        file.close();

        QCOMPARE(SystemAutostartService(program).status(), expected);
    }

    void failures_data()
    {
        QTest::addColumn<int>("obstacle");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<AutostartStatus>("status"); // afterwards

        QTest::newRow("enable, autostart is a file") << int(AutostartFile) << true << AutostartStatus::disabled;
        // A folder in the entry's place cannot be removed as a file, even by root.
        QTest::newRow("disable, folder as entry") << int(FolderAsEntry) << false << AutostartStatus::unavailable;
    }

    void failures()
    {
        QFETCH(int, obstacle);
        QFETCH(bool, enable);
        QFETCH(AutostartStatus, status);
        if (obstacle == AutostartFile) {
            QFile blocker(autostartDir());
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(entryPath() + QStringLiteral("/inside")));
        }
        SystemAutostartService service(makeExecutable(QStringLiteral("tallyport")));

        const Result<void> result = service.setEnabled(enable);
        QVERIFY(!result.ok());
        QCOMPARE(result.error().kind, Error::Kind::OperationFailed);
        QCOMPARE(result.error().path, entryPath());
        QCOMPARE(service.status(), status);
    }
};

QTEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
