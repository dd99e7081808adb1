#include "view/DialogFilePanels.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TallyportPlugin)

// The save and open panels over a real window: what the dialog offers, and
// what the panel answers once the dialog is done while the caller waits.
// The window's journeys save by a typed path (with the offered name checked)
// and open through the test hook.
class FilePanelsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QQmlEngine m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    DialogFilePanels m_panels;

    static void touch(const QString &path) { QFile(path).open(QIODevice::WriteOnly); }

private slots:
    void initTestCase()
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(".config")));
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&m_engine);
        component.setData("import QtQuick\nWindow { width: 900; height: 700; visible: true }", QUrl());
        m_window.reset(qobject_cast<QQuickWindow *>(component.create()));
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_panels.setWindow(m_window.get());
    }

    void folderEntriesAreFoldersThenJsonFiles()
    {
        QTemporaryDir dir;
        for (const char *folder : {"b-folder", "A-folder", ".hidden"})
            QVERIFY(QDir(dir.path()).mkdir(QString::fromLatin1(folder)));
        for (const char *file : {"z.json", "a.json", "B.JSON", "notes.txt", ".secret.json", "json"})
            touch(dir.filePath(QString::fromLatin1(file)));
        QStringList entries;
        for (const QVariant &entry : m_panels.folderEntries(dir.path())) {
            const QVariantMap map = entry.toMap();
            entries << map.value("name").toString() + (map.value("isFolder").toBool() ? "/" : "");
            QCOMPARE(map.value("path").toString(), dir.filePath(map.value("name").toString()));
        }
        QCOMPARE(entries, (QStringList{"A-folder/", "b-folder/", "a.json", "B.JSON", "z.json"}));
    }

    void savePathAddsTheExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path"); // in /data/docs
        QTest::newRow("bare name") << "backup" << QString("/data/docs/backup.json");
        QTest::newRow("extension in capitals") << "Backup.JSON" << QString("/data/docs/Backup.JSON");
        QTest::newRow("other extension") << "backup.txt" << QString("/data/docs/backup.txt.json");
        QTest::newRow("relative folder") << "../old/x" << QString("/data/old/x.json");
        QTest::newRow("existing folder") << "/tmp" << QString("/tmp");
    }

    void savePathAddsTheExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(m_panels.savePath("/data/docs", name), path);
    }

    // The panel waits while the dialog runs; one left open by a failed check
    // is closed, so the test cannot hang.
    void openTakesTheChosenFile()
    {
        const QString documents = m_home.filePath(QStringLiteral("Documents"));
        QVERIFY(QDir().mkpath(documents));
        touch(documents + QStringLiteral("/new.json"));
        touch(documents + QStringLiteral("/old.json"));
        bool dialogSeen = false;
        QTimer::singleShot(0, this, [&] {
            QObject *dialog = m_window->findChild<QObject *>(QStringLiteral("backupFileDialog"));
            QVERIFY(dialog && dialog->property("visible").toBool());
            const auto closeLeftOpen = qScopeGuard([dialog] { QMetaObject::invokeMethod(dialog, "close"); });
            dialogSeen = true;
            QCOMPARE(dialog->property("folder").toString(), documents);
            QCOMPARE(dialog->property("entries").toList().size(), 2);
            dialog->findChild<QObject *>(QStringLiteral("entryList"))->setProperty("currentIndex", 1);
            QMetaObject::invokeMethod(dialog, "submit");
        });
        QCOMPARE(m_panels.chooseOpenLocation(), documents + QStringLiteral("/old.json"));
        QVERIFY(dialogSeen);
    }
};

QTEST_MAIN(FilePanelsTest)
#include "tst_file_panels.moc"
