#pragma once

#include <QString>

// Application constants.
namespace AppConfig {
inline const QString appBundleIdentifier = QStringLiteral("org.tallyport.Tallyport");
inline const QString legacyBundleIdentifier = QStringLiteral("org.tallyport.Limits");
inline const QString appDisplayName = QStringLiteral("Tallyport");
inline const QString appVersion = QStringLiteral("1.14");
inline const QString accountsFileName = QStringLiteral("accounts.json");
inline const QString preferencesUserDefaultsKey = QStringLiteral("preferences");
} // namespace AppConfig
