#include "view/DialogFilePanels.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <functional>

Q_IMPORT_QML_PLUGIN(TallyportPlugin)

// The save and open panels over a real window: what the dialog offers, and
// what the panel answers once the dialog is done while the caller waits.
class FilePanelsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void testHookAnswersWithoutADialog_data();
    void testHookAnswersWithoutADialog();
    void withoutAWindowThePanelsAreCancelled();
    void folderEntriesAreFoldersThenJsonFiles();
    void savePathAddsTheExtension_data();
    void savePathAddsTheExtension();
    void saveOffersTheBackupNameInTheDocumentsFolder_data();
    void saveOffersTheBackupNameInTheDocumentsFolder();
    void saveTakesTheTypedName();
    void openTakesTheChosenFileAfterEnteringAFolder();
    void cancelAnswersNothing_data();
    void cancelAnswersNothing();

private:
    // Runs `act` on the shown dialog while the panel waits for it; a dialog
    // still open afterwards is cancelled, so a failed check cannot hang.
    void whenDialogShows(const std::function<void(QObject *)> &act);
    static QVariant call(QObject *dialog, const char *function, const QVariant &argument = {});
    static void touch(const QString &path);

    QTemporaryDir m_home;
    QQmlEngine m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    bool m_dialogSeen = false;
};

void FilePanelsTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    m_engine.addImportPath(QStringLiteral("qrc:/"));
}

void FilePanelsTest::init()
{
    qunsetenv("TALLYPORT_TEST_SAVE_PATH");
    qunsetenv("TALLYPORT_TEST_OPEN_PATH");
    QQmlComponent component(&m_engine);
    component.setData("import QtQuick\nWindow { width: 900; height: 700; visible: true }", QUrl());
    m_window.reset(qobject_cast<QQuickWindow *>(component.create()));
    QVERIFY2(m_window, qPrintable(component.errorString()));
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_dialogSeen = false;
}

void FilePanelsTest::cleanup()
{
    m_window.reset();
}

void FilePanelsTest::whenDialogShows(const std::function<void(QObject *)> &act)
{
    QTimer::singleShot(0, this, [this, act] {
        QObject *dialog = m_window->findChild<QObject *>(QStringLiteral("backupFileDialog"));
        QVERIFY(dialog);
        QVERIFY(dialog->property("visible").toBool());
        m_dialogSeen = true;
        act(dialog);
        if (dialog->property("visible").toBool())
            QMetaObject::invokeMethod(dialog, "close");
    });
}

QVariant FilePanelsTest::call(QObject *dialog, const char *function, const QVariant &argument)
{
    QVariant result;
    if (argument.isValid())
        QMetaObject::invokeMethod(dialog, function, Q_RETURN_ARG(QVariant, result), Q_ARG(QVariant, argument));
    else
        QMetaObject::invokeMethod(dialog, function, Q_RETURN_ARG(QVariant, result));
    return result;
}

void FilePanelsTest::touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void FilePanelsTest::testHookAnswersWithoutADialog_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("save") << true;
    QTest::newRow("open") << false;
}

void FilePanelsTest::testHookAnswersWithoutADialog()
{
    QFETCH(bool, saving);
    qputenv("TALLYPORT_TEST_SAVE_PATH", "/tmp/e2e/out.json");
    qputenv("TALLYPORT_TEST_OPEN_PATH", "/tmp/e2e/in.json");
    DialogFilePanels panels;
    panels.setWindow(m_window.get());

    const auto answer =
        saving ? panels.chooseSaveLocation(QStringLiteral("limits-backup.json")) : panels.chooseOpenLocation();

    QCOMPARE(answer,
             std::optional<QString>(saving ? QStringLiteral("/tmp/e2e/out.json") : QStringLiteral("/tmp/e2e/in.json")));
    QVERIFY(!m_window->findChild<QObject *>(QStringLiteral("backupFileDialog")));
}

void FilePanelsTest::withoutAWindowThePanelsAreCancelled()
{
    DialogFilePanels panels;
    QCOMPARE(panels.chooseSaveLocation(QStringLiteral("limits-backup.json")), std::nullopt);
    QCOMPARE(panels.chooseOpenLocation(), std::nullopt);

    panels.setWindow(m_window.get());
    m_window.reset();
    QCOMPARE(panels.chooseOpenLocation(), std::nullopt);
}

void FilePanelsTest::folderEntriesAreFoldersThenJsonFiles()
{
    QTemporaryDir dir;
    for (const char *folder : {"b-folder", "A-folder", ".hidden"})
        QVERIFY(QDir(dir.path()).mkdir(QString::fromLatin1(folder)));
    for (const char *file : {"z.json", "a.json", "B.JSON", "notes.txt", ".secret.json", "json"})
        touch(dir.filePath(QString::fromLatin1(file)));

    QStringList names;
    QList<bool> folders;
    for (const QVariant &entry : DialogFilePanels().folderEntries(dir.path())) {
        const QVariantMap map = entry.toMap();
        names << map.value(QStringLiteral("name")).toString();
        folders << map.value(QStringLiteral("isFolder")).toBool();
        QCOMPARE(map.value(QStringLiteral("path")).toString(), dir.filePath(names.last()));
    }

    QCOMPARE(names, (QStringList{"A-folder", "b-folder", "a.json", "B.JSON", "z.json"}));
    QCOMPARE(folders, (QList<bool>{true, true, false, false, false}));
}

void FilePanelsTest::savePathAddsTheExtension_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("bare name") << "/data/docs"
                               << "backup"
                               << "/data/docs/backup.json";
    QTest::newRow("with extension") << "/data/docs"
                                    << "backup.json"
                                    << "/data/docs/backup.json";
    QTest::newRow("extension in capitals") << "/data/docs"
                                           << "Backup.JSON"
                                           << "/data/docs/Backup.JSON";
    QTest::newRow("other extension") << "/data/docs"
                                     << "backup.txt"
                                     << "/data/docs/backup.txt.json";
    QTest::newRow("absolute") << "/data/docs"
                              << "/srv/x"
                              << "/srv/x.json";
    QTest::newRow("relative folder") << "/data/docs"
                                     << "../old/x.json"
                                     << "/data/old/x.json";
    QTest::newRow("existing folder") << "/"
                                     << "tmp"
                                     << "/tmp";
}

void FilePanelsTest::savePathAddsTheExtension()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(DialogFilePanels().savePath(folder, name), path);
}

void FilePanelsTest::saveOffersTheBackupNameInTheDocumentsFolder_data()
{
    QTest::addColumn<bool>("documentsExist");
    QTest::newRow("Documents") << true;
    QTest::newRow("no Documents: home") << false;
}

void FilePanelsTest::saveOffersTheBackupNameInTheDocumentsFolder()
{
    QFETCH(bool, documentsExist);
    const QString documents = m_home.filePath(QStringLiteral("Documents"));
    if (documentsExist)
        QVERIFY(QDir().mkpath(documents));
    else
        QVERIFY(QDir(documents).removeRecursively());
    const QString folder = documentsExist ? documents : m_home.path();
    DialogFilePanels panels;
    panels.setWindow(m_window.get());

    whenDialogShows([&](QObject *dialog) {
        QCOMPARE(dialog->property("folder").toString(), folder);
        QObject *name = dialog->findChild<QObject *>(QStringLiteral("nameField"));
        QVERIFY(name);
        QCOMPARE(name->property("text").toString(), QStringLiteral("limits-backup.json"));
        call(dialog, "submit");
    });
    QCOMPARE(panels.chooseSaveLocation(QStringLiteral("limits-backup.json")),
             std::optional<QString>(folder + QStringLiteral("/limits-backup.json")));
    QVERIFY(m_dialogSeen);
}

void FilePanelsTest::saveTakesTheTypedName()
{
    const QString sub = m_home.filePath(QStringLiteral("sub"));
    QVERIFY(QDir().mkpath(sub));
    QVERIFY(QDir(m_home.filePath(QStringLiteral("Documents"))).removeRecursively());
    DialogFilePanels panels;
    panels.setWindow(m_window.get());

    whenDialogShows([&](QObject *dialog) {
        QObject *name = dialog->findChild<QObject *>(QStringLiteral("nameField"));
        // A folder's name opens it and brings the offered name back.
        name->setProperty("text", QStringLiteral("sub"));
        call(dialog, "submit");
        QVERIFY(dialog->property("visible").toBool());
        QCOMPARE(dialog->property("folder").toString(), sub);
        QCOMPARE(name->property("text").toString(), QStringLiteral("limits-backup.json"));
        name->setProperty("text", QStringLiteral("  mine "));
        call(dialog, "submit");
    });
    const auto answer = panels.chooseSaveLocation(QStringLiteral("limits-backup.json"));

    QVERIFY(m_dialogSeen);
    QCOMPARE(answer, std::optional<QString>(sub + QStringLiteral("/mine.json")));
}

void FilePanelsTest::openTakesTheChosenFileAfterEnteringAFolder()
{
    const QString backups = m_home.filePath(QStringLiteral("backups"));
    QVERIFY(QDir().mkpath(backups));
    touch(backups + QStringLiteral("/old.json"));
    touch(backups + QStringLiteral("/new.json"));
    QVERIFY(QDir(m_home.filePath(QStringLiteral("Documents"))).removeRecursively());
    DialogFilePanels panels;
    panels.setWindow(m_window.get());

    whenDialogShows([&](QObject *dialog) {
        const QVariantList entries = dialog->property("entries").toList();
        const auto folder = std::find_if(entries.begin(), entries.end(), [](const QVariant &e) {
            return e.toMap().value(QStringLiteral("name")) == QStringLiteral("backups");
        });
        QVERIFY(folder != entries.end());
        call(dialog, "activate", *folder);
        QCOMPARE(dialog->property("folder").toString(), backups);
        QCOMPARE(dialog->property("entries").toList().size(), 2);
        // In name order "old.json" comes second.
        dialog->findChild<QObject *>(QStringLiteral("entryList"))->setProperty("currentIndex", 1);
        call(dialog, "submit");
    });

    QCOMPARE(panels.chooseOpenLocation(), std::optional<QString>(backups + QStringLiteral("/old.json")));
    QVERIFY(m_dialogSeen);
}

void FilePanelsTest::cancelAnswersNothing_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("save") << true;
    QTest::newRow("open") << false;
}

void FilePanelsTest::cancelAnswersNothing()
{
    QFETCH(bool, saving);
    touch(m_home.filePath(QStringLiteral("present.json")));
    DialogFilePanels panels;
    panels.setWindow(m_window.get());

    whenDialogShows([](QObject *dialog) { QMetaObject::invokeMethod(dialog, "close"); });
    const auto answer =
        saving ? panels.chooseSaveLocation(QStringLiteral("limits-backup.json")) : panels.chooseOpenLocation();

    QVERIFY(m_dialogSeen);
    QCOMPARE(answer, std::nullopt);
    // Each dialog serves one answer.
    QTRY_VERIFY(!m_window->findChild<QObject *>(QStringLiteral("backupFileDialog")));
}

QTEST_MAIN(FilePanelsTest)
#include "tst_file_panels.moc"
