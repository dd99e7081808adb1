#include "SettingsPreferencesRepository.h"

#include "AppConfig.h"
#include "model/JsonCoding.h"

#include <QFile>
#include <QJsonDocument>
#include <QSettings>
#include <QStandardPaths>

namespace {

std::unique_ptr<QSettings> openSettings(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

std::optional<Preferences> storedPreferences(QSettings *settings)
{
    if (!settings)
        return std::nullopt;
    const QVariant stored = settings->value(AppConfig::preferencesKey);
    if (!stored.isValid())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(stored.toByteArray());
    if (!document.isObject())
        return std::nullopt;
    auto preferences = JsonCoding::decodePreferences(document.object());
    if (!preferences)
        return std::nullopt;
    return std::move(preferences).value();
}

} // namespace

SettingsPreferencesRepository::SettingsPreferencesRepository(const QString &settingsPath,
                                                             const QString &legacySettingsPath, Access access)
    : m_settings(openSettings(settingsPath))
    , m_legacySettings(openSettings(legacySettingsPath))
    , m_access(access)
{}

SettingsPreferencesRepository::~SettingsPreferencesRepository() = default;

QStringList SettingsPreferencesRepository::filePaths()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty())
        return {QString(), QString()};
    const QString prefix = folder + QLatin1Char('/');
    const QString suffix = QStringLiteral(".conf");
    return {prefix + AppConfig::applicationId + suffix, prefix + AppConfig::previousEditionId + suffix};
}

std::unique_ptr<SettingsPreferencesRepository> SettingsPreferencesRepository::forCurrentUser(Access access)
{
    const QStringList paths = filePaths();
    return std::make_unique<SettingsPreferencesRepository>(paths.at(0), paths.at(1), access);
}

Preferences SettingsPreferencesRepository::loadPreferences()
{
    if (auto current = storedPreferences(m_settings.get()))
        return *current;
    if (auto legacy = storedPreferences(m_legacySettings.get())) {
        savePreferences(*legacy);
        return *legacy;
    }
    return Preferences{};
}

void SettingsPreferencesRepository::savePreferences(const Preferences &preferences)
{
    if (!m_settings || m_access == Access::readOnly)
        return;
    m_settings->setValue(AppConfig::preferencesKey,
                         QJsonDocument(JsonCoding::encode(preferences)).toJson(QJsonDocument::Compact));
    m_settings->sync();
    // Settings files are created world-readable; these are the user's own.
    if (m_settings->status() == QSettings::NoError)
        QFile::setPermissions(m_settings->fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
