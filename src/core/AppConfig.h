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
// The largest file read as a backup: ten times a state of a thousand accounts
// with a hundred thousand events, so that a wrong file (a disk image, a
// device) is refused before it is read into memory.
inline constexpr qint64 maximumBackupBytes = qint64(320) * 1024 * 1024;
} // namespace AppConfig
