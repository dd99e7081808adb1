#pragma once

#include <QString>

// Application constants.
namespace AppConfig {
// The reverse-DNS application id: the data folder, the settings file, the
// desktop entry and the notifications are named by it.
inline const QString applicationId = QStringLiteral("org.tallyport.Tallyport");
// The id of the previous edition, whose data and preferences are read once.
inline const QString previousEditionId = QStringLiteral("org.tallyport.Limits");
inline const QString appDisplayName = QStringLiteral("Tallyport");
inline const QString appVersion = QStringLiteral("1.14");
inline const QString accountsFileName = QStringLiteral("accounts.json");
// The settings key that holds the preferences record.
inline const QString preferencesKey = QStringLiteral("preferences");
} // namespace AppConfig
