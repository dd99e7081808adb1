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
    void enableFailsWhenFolderCannotBeCreated_data();
    void enableFailsWhenFolderCannotBeCreated();
    void disableFailsWhenEntryCannotBeRemoved();

private:
    QString autostartDir() const { return m_config->path() + QStringLiteral("/autostart"); }
    QString entryPath() const { return autostartDir() + QStringLiteral("/org.tallyport.Tallyport.desktop"); }
    QString makeExecutable(const QString &relativePath) const;
    void writeEntry(const QByteArray &content) const;
    QByteArray readEntry() const;

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

void AutostartTest::writeEntry(const QByteArray &content) const
{
    QDir().mkpath(autostartDir());
    QFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(entryPath()));
}

QByteArray AutostartTest::readEntry() const
{
    QFile file(entryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AutostartTest::enableAndDisable()
{
    const QString program = makeExecutable(QStringLiteral("tallyport"));
    SystemAutostartService service(program);
    QCOMPARE(service.status(), AutostartStatus::disabled);

    QVERIFY(service.setEnabled(true).ok());
    QCOMPARE(SystemAutostartService::entryFilePath(), entryPath());
    const QString entry = QString::fromUtf8(readEntry());
    QVERIFY(entry.startsWith(QLatin1String("[Desktop Entry]\n")));
    const QStringList lines = entry.split(u'\n');
    for (const QString &expected : {QStringLiteral("Type=Application"), QStringLiteral("Name=Tallyport"),
                                    QStringLiteral("Exec=") + program,
                                    QStringLiteral("Icon=org.tallyport.Tallyport"), QStringLiteral("Terminal=false"),
                                    QStringLiteral("X-GNOME-Autostart-enabled=true")})
        QVERIFY2(lines.contains(expected), qPrintable(expected));
    QVERIFY(entry.contains(QStringLiteral("Comment=Учёт")));
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

    QTest::newRow("space") << "My Apps/tallyport" << "/My Apps/tallyport\"";
    QTest::newRow("dollar and quote") << "a$b\"c/tallyport" << "/a\\\\$b\\\\\"c/tallyport\"";
    QTest::newRow("backslash") << "a\\b/tallyport" << "/a\\\\\\\\b/tallyport\"";
    QTest::newRow("percent, unquoted") << "100%/tallyport" << "/100%%/tallyport";
}

void AutostartTest::enableQuotesExecutable()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, execSuffix);
    const QString program = makeExecutable(relativePath);
    SystemAutostartService service(program);

    QVERIFY(service.setEnabled(true).ok());

    const bool quoted = execSuffix.endsWith(u'"');
    const QString exec = QStringLiteral("Exec=") + (quoted ? QStringLiteral("\"") : QString())
        + m_programs->path() + execSuffix;
    QVERIFY2(QString::fromUtf8(readEntry()).split(u'\n').contains(exec), qPrintable(exec));
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
    QTest::newRow("switched off in GNOME") << ours + "X-GNOME-Autostart-enabled=false\n"
                                           << AutostartStatus::disabled;
    QTest::newRow("copied launcher of ours, no marker")
        << QByteArray("[Desktop Entry]\nType=Application\nExec=PROGRAM --flag %U\n") << AutostartStatus::enabled;
    QTest::newRow("marker in another group")
        << QByteArray("[Desktop Entry]\nExec=/usr/bin/other\n[Desktop Action x]\nX-Tallyport-Autostart=true\n")
        << AutostartStatus::unavailable;
    QTest::newRow("foreign program") << QByteArray("[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n")
                                     << AutostartStatus::unavailable;
    QTest::newRow("program moved away")
        << QByteArray("[Desktop Entry]\nExec=/nonexistent/tallyport\nX-Tallyport-Autostart=true\n")
        << AutostartStatus::unavailable;
    QTest::newRow("not a desktop entry") << QByteArray("\x89PNG garbage") << AutostartStatus::unavailable;
}

void AutostartTest::statusOfExistingEntry()
{
    QFETCH(QByteArray, entry);
    QFETCH(AutostartStatus, expected);
    const QString program = makeExecutable(QStringLiteral("tallyport"));
    writeEntry(entry.replace("PROGRAM", QFile::encodeName(program)));

    QCOMPARE(SystemAutostartService(program).status(), expected);
}

void AutostartTest::enableFailsWhenFolderCannotBeCreated_data()
{
    QTest::addColumn<bool>("readOnlyConfig"); // else "autostart" is a plain file

    QTest::newRow("autostart is a file") << false;
    QTest::newRow("config folder read-only") << true;
}

void AutostartTest::enableFailsWhenFolderCannotBeCreated()
{
    QFETCH(bool, readOnlyConfig);
    if (readOnlyConfig) {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile::setPermissions(m_config->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    } else {
        QFile blocker(autostartDir());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    SystemAutostartService service(makeExecutable(QStringLiteral("tallyport")));

    const Result<void> result = service.setEnabled(true);

    QFile::setPermissions(m_config->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!result.ok());
    QCOMPARE(result.error().kind, Error::Kind::OperationFailed);
    QVERIFY(!result.error().systemText.isEmpty());
    QCOMPARE(service.status(), AutostartStatus::disabled);
}

void AutostartTest::disableFailsWhenEntryCannotBeRemoved()
{
    // A folder in the entry's place cannot be removed as a file, even by root.
    QVERIFY(QDir().mkpath(entryPath() + QStringLiteral("/inside")));
    SystemAutostartService service(makeExecutable(QStringLiteral("tallyport")));

    const Result<void> result = service.setEnabled(false);

    QVERIFY(!result.ok());
    QCOMPARE(result.error().kind, Error::Kind::OperationFailed);
    QVERIFY(!result.error().systemText.isEmpty());
    QCOMPARE(service.status(), AutostartStatus::unavailable);
}

QTEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
