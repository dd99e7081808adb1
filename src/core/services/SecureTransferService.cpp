#include "SecureTransferService.h"

QString BackupImportModes::rawValue(BackupImportMode mode)
{
    switch (mode) {
    case BackupImportMode::replace: return QStringLiteral("replace");
    case BackupImportMode::merge: return QStringLiteral("merge");
    }
    return {};
}

QString BackupImportModes::title(BackupImportMode mode)
{
    switch (mode) {
    case BackupImportMode::replace: return QStringLiteral("Заменить текущие данные");
    case BackupImportMode::merge: return QStringLiteral("Объединить с текущими данными");
    }
    return {};
}

std::optional<BackupImportMode> BackupImportModes::fromRawValue(QStringView raw)
{
    for (BackupImportMode mode : {BackupImportMode::replace, BackupImportMode::merge})
        if (raw == rawValue(mode))
            return mode;
    return std::nullopt;
}
