#pragma once

#include "PreferencesRepository.h"

#include <QString>

#include <memory>

class QSettings;

// The preferences as one compact JSON record under the key "preferences" of
// an INI settings file. The previous edition's file is read, never written,
// while the application's own holds nothing readable.
class SettingsPreferencesRepository final : public PreferencesRepository {
public:
    // An empty path means the store cannot be opened.
    SettingsPreferencesRepository(const QString &settingsPath, const QString &legacySettingsPath);
    ~SettingsPreferencesRepository() override;

    // $XDG_CONFIG_HOME/org.tallyport.Tallyport.conf, and org.tallyport.Limits.conf beside it.
    static std::unique_ptr<SettingsPreferencesRepository> forCurrentUser();

    Preferences loadPreferences() override;
    void savePreferences(const Preferences &preferences) override;

private:
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QSettings> m_legacySettings;
};
