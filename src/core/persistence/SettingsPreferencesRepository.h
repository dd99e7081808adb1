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
    // Read-only: the previous edition's record is read where it lies and
    // nothing is ever written (for commands that only read).
    enum class Access { readWrite, readOnly };

    // An empty path means the store cannot be opened.
    SettingsPreferencesRepository(const QString &settingsPath, const QString &legacySettingsPath,
                                  Access access = Access::readWrite);
    ~SettingsPreferencesRepository() override;

    // $XDG_CONFIG_HOME/org.tallyport.Tallyport.conf, and org.tallyport.Limits.conf
    // beside it; both empty without a configuration folder.
    static QStringList filePaths();
    static std::unique_ptr<SettingsPreferencesRepository> forCurrentUser(Access access = Access::readWrite);

    Preferences loadPreferences() override;
    void savePreferences(const Preferences &preferences) override;

private:
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<QSettings> m_legacySettings;
    Access m_access;
};
