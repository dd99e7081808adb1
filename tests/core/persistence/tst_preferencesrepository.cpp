#include "FileMode.h"
#include "model/JsonCoding.h"
#include "persistence/SettingsPreferencesRepository.h"

#include <QJsonDocument>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray stored(const QString &path)
{
    return QSettings(path, QSettings::IniFormat).value("preferences").toByteArray();
}

void store(const QString &path, const QByteArray &bytes)
{
    QSettings(path, QSettings::IniFormat).setValue("preferences", bytes);
}

} // namespace

class TestPreferencesRepository : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_current;
    QString m_legacy;

private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_current = m_folder->filePath(QStringLiteral("org.tallyport.Tallyport.conf"));
        m_legacy = m_folder->filePath(QStringLiteral("org.tallyport.Limits.conf"));
    }

    // The current record, else the previous edition's, which is then saved as
    // the current one; records that do not decode count as none.
    void loading_data()
    {
        QTest::addColumn<QByteArray>("current"); // null: nothing stored
        QTest::addColumn<QByteArray>("legacy");
        QTest::addColumn<Preferences>("expected");
        QTest::addColumn<bool>("migrated");
        const QByteArray darkJson = R"({"appearanceMode": "dark"})";
        const QByteArray light = R"({"appearanceMode": "light"})";
        const QByteArray sepia = R"({"appearanceMode": "sepia"})";
        Preferences dark, lightPreferences;
        dark.appearanceMode = AppearanceMode::dark;
        lightPreferences.appearanceMode = AppearanceMode::light;
        QTest::newRow("nothing anywhere") << QByteArray() << QByteArray() << Preferences{} << false;
        QTest::newRow("current wins") << darkJson << light << dark << false;
        QTest::newRow("legacy only") << QByteArray() << light << lightPreferences << true;
        QTest::newRow("undecodable current, legacy") << sepia << light << lightPreferences << true;
        QTest::newRow("not JSON anywhere") << QByteArray("dark") << QByteArray("[1]") << Preferences{} << false;
    }

    void loading()
    {
        QFETCH(QByteArray, current);
        QFETCH(QByteArray, legacy);
        QFETCH(Preferences, expected);
        QFETCH(bool, migrated);
        if (!current.isNull())
            store(m_current, current);
        if (!legacy.isNull())
            store(m_legacy, legacy);

        QCOMPARE(SettingsPreferencesRepository(m_current, m_legacy).loadPreferences(), expected);
        if (migrated) {
            QCOMPARE(stored(m_current), QJsonDocument(JsonCoding::encode(expected)).toJson(QJsonDocument::Compact));
            QCOMPARE(fileMode(m_current), 0600);
        } else {
            QCOMPARE(QFile::exists(m_current), !current.isNull());
        }
        QCOMPARE(stored(m_legacy), legacy);
    }

    void withoutAFileNothingIsWritten()
    {
        store(m_legacy, R"({"appearanceMode": "dark"})");
        QCOMPARE(SettingsPreferencesRepository(m_current, QString()).loadPreferences(), Preferences{});
        SettingsPreferencesRepository noStore(QString(), m_legacy);
        noStore.savePreferences(Preferences{});
        QCOMPARE(noStore.loadPreferences().appearanceMode, AppearanceMode::dark);
        QVERIFY(!QFile::exists(m_current));
    }
};

QTEST_GUILESS_MAIN(TestPreferencesRepository)
#include "tst_preferencesrepository.moc"
