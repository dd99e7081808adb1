#pragma once

#include "model/AccountsState.h"
#include "model/Preferences.h"
#include "model/Result.h"

#include <QByteArray>
#include <QDateTime>

// The plaintext of a backup file.
struct BackupPayload {
    int schemaVersion = 1;
    QDateTime exportedAt;
    AccountsState state;
    Preferences preferences;

    friend bool operator==(const BackupPayload &, const BackupPayload &) = default;
};

enum class BackupImportMode { replace, merge };

namespace BackupImportModes {
QString rawValue(BackupImportMode mode);
QString title(BackupImportMode mode);
std::optional<BackupImportMode> fromRawValue(QStringView raw);
} // namespace BackupImportModes

// Seals a payload into backup-file bytes and opens them again.
class SecureTransferService {
public:
    virtual ~SecureTransferService() = default;
    virtual Result<QByteArray> encrypt(const BackupPayload &payload, const QString &password) = 0;
    virtual Result<BackupPayload> decrypt(const QByteArray &bytes, const QString &password) = 0;
};
