#include "services/SystemAutostartService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class AutostartTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void enableAndDisable();
    void enableQuotesExecutable_data();
    void enableQuotesExecutable();
    void statusOfExistingEntry_data();
    void statusOfExistingEntry();
    void failures_data();
    void failures();

private:
    enum Obstacle { AutostartFile, ReadOnlyConfig, FolderAsEntry };
    QString autostartDir() const { return m_config->path() + QStringLiteral("/autostart"); }
    QString entryPath() const { return autostartDir() + QStringLiteral("/org.tallyport.Tallyport.desktop"); }
    QString makeExecutable(const QString &relativePath) const;
    QStringList entryLines() const;

    std::unique_ptr<QTemporaryDir> m_config;
    std::unique_ptr<QTemporaryDir> m_programs;
};

void AutostartTest::init()
{
    m_config = std::make_unique<QTemporaryDir>();
    m_programs = std::make_unique<QTemporaryDir>();
    QVERIFY(m_config->isValid() && m_programs->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config->path()));
}

QString AutostartTest::makeExecutable(const QString &relativePath) const
{
    const QString path = m_programs->filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n") < 0)
        qFatal("cannot create %s", qPrintable(path));
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

QStringList AutostartTest::entryLines() const
{
    QFile file(entryPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n') : QStringList();
}

void AutostartTest::enableAndDisable()
{
    const QString program = makeExecutable(QStringLiteral("tallyport"));
    SystemAutostartService service(program);
    QCOMPARE(service.status(), AutostartStatus::disabled);

    QVERIFY(service.setEnabled(true).ok());
    QCOMPARE(SystemAutostartService::entryFilePath(), entryPath());
    const QStringList lines = entryLines();
    QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
    for (const QString &expected : {QStringLiteral("Type=Application"), QStringLiteral("Name=Tallyport"),
                                    QStringLiteral("Exec=") + program, QStringLiteral("Icon=org.tallyport.Tallyport"),
                                    QStringLiteral("Terminal=false"), QStringLiteral("X-GNOME-Autostart-enabled=true")})
        QVERIFY2(lines.contains(expected), qPrintable(expected));
    QVERIFY(!lines.filter(QStringLiteral("Comment=Учёт")).isEmpty());
    QCOMPARE(service.status(), AutostartStatus::enabled);

    QVERIFY(service.setEnabled(true).ok());
    QCOMPARE(service.status(), AutostartStatus::enabled);

    QVERIFY(service.setEnabled(false).ok());
    QVERIFY(!QFile::exists(entryPath()));
    QCOMPARE(service.status(), AutostartStatus::disabled);
    // Nothing to remove is no failure.
    QVERIFY(service.setEnabled(false).ok());
}

void AutostartTest::enableQuotesExecutable_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("execSuffix"); // the Exec value after the temporary folder

    QTest::newRow("space") << "My Apps/tallyport"
                           << "/My Apps/tallyport\"";
    QTest::newRow("dollar and quote") << "a$b\"c/tallyport"
                                      << "/a\\\\$b\\\\\"c/tallyport\"";
    QTest::newRow("backslash") << "a\\b/tallyport"
                               << "/a\\\\\\\\b/tallyport\"";
    QTest::newRow("percent, unquoted") << "100%/tallyport"
                                       << "/100%%/tallyport";
}

void AutostartTest::enableQuotesExecutable()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, execSuffix);
    SystemAutostartService service(makeExecutable(relativePath));
    QVERIFY(service.setEnabled(true).ok());

    const QString exec = QStringLiteral("Exec=") + (execSuffix.endsWith(u'"') ? QStringLiteral("\"") : QString())
        + m_programs->path() + execSuffix;
    QVERIFY2(entryLines().contains(exec), qPrintable(exec));
    // Reading the entry back finds the same program.
    QCOMPARE(service.status(), AutostartStatus::enabled);
}

void AutostartTest::statusOfExistingEntry_data()
{
    QTest::addColumn<QByteArray>("entry"); // PROGRAM stands for our executable
    QTest::addColumn<AutostartStatus>("expected");

    const QByteArray ours = "[Desktop Entry]\nType=Application\nExec=PROGRAM\nX-Tallyport-Autostart=true\n";
    QTest::newRow("ours") << ours << AutostartStatus::enabled;
    QTest::newRow("hidden") << ours + "Hidden=true\n" << AutostartStatus::disabled;
    QTest::newRow("switched off in GNOME") << ours + "X-GNOME-Autostart-enabled=false\n" << AutostartStatus::disabled;
    QTest::newRow("copied launcher of ours, no marker")
        << QByteArray("[Desktop Entry]\nType=Application\nExec=PROGRAM --flag %U\n") << AutostartStatus::enabled;
    QTest::newRow("marker in another group")
        << QByteArray("[Desktop Entry]\nExec=/usr/bin/other\n[Desktop Action x]\nX-Tallyport-Autostart=true\n")
        << AutostartStatus::unavailable;
    QTest::newRow("foreign program") << QByteArray("[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n")
                                     << AutostartStatus::unavailable;
    QTest::newRow("program moved away") << QByteArray(
        "[Desktop Entry]\nExec=/nonexistent/tallyport\nX-Tallyport-Autostart=true\n")
                                        << AutostartStatus::unavailable;
    QTest::newRow("not a desktop entry") << QByteArray("\x89PNG garbage") << AutostartStatus::unavailable;
}

void AutostartTest::statusOfExistingEntry()
{
    QFETCH(QByteArray, entry);
    QFETCH(AutostartStatus, expected);
    const QString program = makeExecutable(QStringLiteral("tallyport"));
    QDir().mkpath(autostartDir());
    QFile file(entryPath());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(entry.replace("PROGRAM", QFile::encodeName(program))) > 0);
    file.close();

    QCOMPARE(SystemAutostartService(program).status(), expected);
}

void AutostartTest::failures_data()
{
    QTest::addColumn<int>("obstacle");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<AutostartStatus>("status"); // afterwards

    QTest::newRow("enable, autostart is a file") << int(AutostartFile) << true << AutostartStatus::disabled;
    QTest::newRow("enable, config folder read-only") << int(ReadOnlyConfig) << true << AutostartStatus::disabled;
    // A folder in the entry's place cannot be removed as a file, even by root.
    QTest::newRow("disable, folder as entry") << int(FolderAsEntry) << false << AutostartStatus::unavailable;
}

void AutostartTest::failures()
{
    QFETCH(int, obstacle);
    QFETCH(bool, enable);
    QFETCH(AutostartStatus, status);
    if (obstacle == ReadOnlyConfig) {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile::setPermissions(m_config->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    } else if (obstacle == AutostartFile) {
        QFile blocker(autostartDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkpath(entryPath() + QStringLiteral("/inside")));
    }
    SystemAutostartService service(makeExecutable(QStringLiteral("tallyport")));

    const Result<void> result = service.setEnabled(enable);

    QFile::setPermissions(m_config->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!result.ok());
    QCOMPARE(result.error().kind, Error::Kind::OperationFailed);
    QVERIFY(!result.error().systemText.isEmpty());
    QCOMPARE(service.status(), status);
}

QTEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
