#include "FileMode.h"
#include "model/JsonCoding.h"
#include "persistence/SettingsPreferencesRepository.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kKey = QStringLiteral("preferences");

// What the store under `path` holds for the key, null when nothing.
QByteArray stored(const QString &path)
{
    return QSettings(path, QSettings::IniFormat).value(kKey).toByteArray();
}

void store(const QString &path, const QByteArray &bytes)
{
    QSettings(path, QSettings::IniFormat).setValue(kKey, bytes);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPreferencesRepository : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loading_data();
    void loading();
    void savingWritesCompactPrivateJson();
    void withoutAStoreNothingHappens();
    void currentUserStoreLivesInXdgConfigHome();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_current;
    QString m_legacy;
};

void TestPreferencesRepository::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_current = m_folder->filePath(QStringLiteral("org.tallyport.Tallyport.conf"));
    m_legacy = m_folder->filePath(QStringLiteral("org.tallyport.Limits.conf"));
}

void TestPreferencesRepository::loading_data()
{
    QTest::addColumn<QByteArray>("current"); // null: nothing stored
    QTest::addColumn<QByteArray>("legacy");
    QTest::addColumn<Preferences>("expected");
    QTest::addColumn<bool>("migrated"); // the legacy record was written to the current store

    const QByteArray darkJson = R"({"appearanceMode": "dark", "timezoneIdentifier": "Asia/Yekaterinburg"})";
    const QByteArray light = R"({"appearanceMode": "light"})";
    const QByteArray sepia = R"({"appearanceMode": "sepia"})";
    Preferences dark;
    dark.appearanceMode = AppearanceMode::dark;
    dark.timezoneIdentifier = QStringLiteral("Asia/Yekaterinburg");
    Preferences lightPreferences;
    lightPreferences.appearanceMode = AppearanceMode::light;

    QTest::newRow("nothing anywhere") << QByteArray() << QByteArray() << Preferences{} << false;
    QTest::newRow("current only") << darkJson << QByteArray() << dark << false;
    QTest::newRow("current wins") << darkJson << light << dark << false;
    QTest::newRow("legacy only") << QByteArray() << light << lightPreferences << true;
    QTest::newRow("undecodable current, legacy") << sepia << light << lightPreferences << true;
    QTest::newRow("undecodable current only") << sepia << QByteArray() << Preferences{} << false;
    QTest::newRow("not JSON anywhere") << QByteArray("dark") << QByteArray("[1]") << Preferences{} << false;
}

void TestPreferencesRepository::loading()
{
    QFETCH(QByteArray, current);
    QFETCH(QByteArray, legacy);
    QFETCH(Preferences, expected);
    QFETCH(bool, migrated);
    if (!current.isNull())
        store(m_current, current);
    if (!legacy.isNull())
        store(m_legacy, legacy);
    const QByteArray legacyFile = fileBytes(m_legacy);

    QCOMPARE(SettingsPreferencesRepository(m_current, m_legacy).loadPreferences(), expected);

    if (migrated)
        QCOMPARE(stored(m_current), QJsonDocument(JsonCoding::encode(expected)).toJson(QJsonDocument::Compact));
    else if (current.isNull())
        QVERIFY(!QFile::exists(m_current));
    else
        QCOMPARE(stored(m_current), current); // undecodable data stays until the next save
    QCOMPARE(fileBytes(m_legacy), legacyFile);
}

void TestPreferencesRepository::savingWritesCompactPrivateJson()
{
    Preferences preferences;
    preferences.showSeconds = false;
    preferences.timezoneIdentifier = QStringLiteral("Mars/Olympus_Mons");
    SettingsPreferencesRepository(m_current, m_legacy).savePreferences(preferences);

    const QByteArray bytes = stored(m_current);
    QVERIFY(!bytes.contains('\n') && !bytes.contains(' '));
    QCOMPARE(fileMode(m_current), 0600);
    QVERIFY(!QFile::exists(m_legacy));
    QCOMPARE(SettingsPreferencesRepository(m_current, m_legacy).loadPreferences(), preferences);
}

void TestPreferencesRepository::withoutAStoreNothingHappens()
{
    store(m_legacy, R"({"appearanceMode": "dark"})");
    SettingsPreferencesRepository noLegacy(m_current, QString());
    QCOMPARE(noLegacy.loadPreferences(), Preferences{});
    SettingsPreferencesRepository noStore(QString(), m_legacy);
    noStore.savePreferences(Preferences{});
    QCOMPARE(noStore.loadPreferences().appearanceMode, AppearanceMode::dark);
    QVERIFY(!QFile::exists(m_current));
}

void TestPreferencesRepository::currentUserStoreLivesInXdgConfigHome()
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder->path()));
    store(m_legacy, R"({"timerFormat": "full"})");
    const auto repository = SettingsPreferencesRepository::forCurrentUser();
    saved.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(repository->loadPreferences().timerFormat, TimerFormat::full);
    QVERIFY(!stored(m_current).isEmpty());
}

QTEST_GUILESS_MAIN(TestPreferencesRepository)
#include "tst_preferencesrepository.moc"
