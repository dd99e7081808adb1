#include "FileMode.h"
#include "model/JsonCoding.h"
#include "persistence/UserDefaultsPreferencesRepository.h"

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
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(kKey, bytes);
}

Preferences dark()
{
    Preferences preferences;
    preferences.appearanceMode = AppearanceMode::dark;
    preferences.timezoneIdentifier = QStringLiteral("Asia/Yekaterinburg");
    return preferences;
}

}

class TestPreferencesRepository : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loading_data();
    void loading();
    void migratedPreferencesAreReadFromTheCurrentStoreNextTime();
    void savingWritesCompactJsonWithoutAbsentZone();
    void unknownZoneIsKept();
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
    Preferences lightPreferences;
    lightPreferences.appearanceMode = AppearanceMode::light;
    Preferences full;
    full.timerFormat = TimerFormat::full;

    QTest::newRow("nothing anywhere") << QByteArray() << QByteArray() << Preferences{} << false;
    QTest::newRow("current only") << darkJson << QByteArray() << dark() << false;
    QTest::newRow("current wins") << darkJson << light << dark() << false;
    QTest::newRow("legacy only") << QByteArray() << light << lightPreferences << true;
    QTest::newRow("undecodable current, legacy") << QByteArray(R"({"appearanceMode": "sepia"})") << light
                                                 << lightPreferences << true;
    QTest::newRow("undecodable current only") << QByteArray(R"({"appearanceMode": "sepia"})") << QByteArray()
                                              << Preferences{} << false;
    QTest::newRow("not JSON anywhere") << QByteArray("dark") << QByteArray("[1]") << Preferences{} << false;
    QTest::newRow("only the format") << QByteArray(R"({"timerFormat": "full"})") << QByteArray() << full << false;
    QTest::newRow("older zone key") << QByteArray(R"({"timezonePreference": "Europe/Moscow"})") << QByteArray()
                                    << Preferences{} << false;
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
    const QByteArray legacyFile = QFile::exists(m_legacy) ? [&] {
        QFile file(m_legacy);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }() : QByteArray();

    UserDefaultsPreferencesRepository repository(m_current, m_legacy);
    QCOMPARE(repository.loadPreferences(), expected);

    if (migrated)
        QCOMPARE(stored(m_current), QJsonDocument(JsonCoding::encode(expected)).toJson(QJsonDocument::Compact));
    else if (current.isNull())
        QVERIFY(!QFile::exists(m_current));
    else
        QCOMPARE(stored(m_current), current); // undecodable data stays until the next save
    if (!legacy.isNull()) {
        QFile file(m_legacy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), legacyFile);
    }
}

void TestPreferencesRepository::migratedPreferencesAreReadFromTheCurrentStoreNextTime()
{
    store(m_legacy, QJsonDocument(JsonCoding::encode(dark())).toJson());
    QCOMPARE(UserDefaultsPreferencesRepository(m_current, m_legacy).loadPreferences(), dark());
    QVERIFY(QFile::remove(m_legacy));
    QCOMPARE(UserDefaultsPreferencesRepository(m_current, m_legacy).loadPreferences(), dark());
    QVERIFY(!QFile::exists(m_legacy));
}

void TestPreferencesRepository::savingWritesCompactJsonWithoutAbsentZone()
{
    UserDefaultsPreferencesRepository repository(m_current, m_legacy);
    Preferences preferences;
    preferences.showSeconds = false;
    preferences.notificationsOnRestore = true;
    repository.savePreferences(preferences);

    const QByteArray bytes = stored(m_current);
    QVERIFY(!bytes.contains('\n') && !bytes.contains(' '));
    const QJsonObject json = QJsonDocument::fromJson(bytes).object();
    QVERIFY(!json.contains(QStringLiteral("timezoneIdentifier")));
    QCOMPARE(json.value(QStringLiteral("showSeconds")), QJsonValue(false));
    QCOMPARE(fileMode(m_current), 0600);
    QVERIFY(!QFile::exists(m_legacy));
    QCOMPARE(UserDefaultsPreferencesRepository(m_current, m_legacy).loadPreferences(), preferences);
}

void TestPreferencesRepository::unknownZoneIsKept()
{
    Preferences preferences;
    preferences.timezoneIdentifier = QStringLiteral("Mars/Olympus_Mons");
    UserDefaultsPreferencesRepository(m_current, m_legacy).savePreferences(preferences);
    QCOMPARE(UserDefaultsPreferencesRepository(m_current, m_legacy).loadPreferences(), preferences);
}

void TestPreferencesRepository::withoutAStoreNothingHappens()
{
    store(m_legacy, R"({"appearanceMode": "dark"})");
    UserDefaultsPreferencesRepository noLegacy(m_current, QString());
    QCOMPARE(noLegacy.loadPreferences(), Preferences{});
    UserDefaultsPreferencesRepository noStore(QString(), m_legacy);
    noStore.savePreferences(dark());
    QCOMPARE(noStore.loadPreferences().appearanceMode, AppearanceMode::dark);
    QVERIFY(!QFile::exists(m_current));
}

void TestPreferencesRepository::currentUserStoreLivesInXdgConfigHome()
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder->path()));
    store(m_legacy, R"({"timerFormat": "full"})");
    const auto repository = UserDefaultsPreferencesRepository::forCurrentUser();
    saved.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(repository->loadPreferences().timerFormat, TimerFormat::full);
    QVERIFY(!stored(m_current).isEmpty());
}

QTEST_GUILESS_MAIN(TestPreferencesRepository)
#include "tst_preferencesrepository.moc"
