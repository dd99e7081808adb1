#include "FileAccountRepository.h"

#include "AppConfig.h"
#include "AtomicFile.h"
#include "StateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace {

Error fileSystemError(const std::error_code &code)
{
    Error::Kind kind = Error::Kind::FileWrite;
    if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted)
        kind = Error::Kind::FileAccess;
    else if (code == std::errc::no_space_on_device)
        kind = Error::Kind::DiskFull;
    return Error::make(kind, QString::fromStdString(code.message()));
}

Error fileError(const QFileDevice &file)
{
    Error::Kind kind = Error::Kind::FileWrite;
    if (file.error() == QFileDevice::PermissionsError)
        kind = Error::Kind::FileAccess;
    else if (file.error() == QFileDevice::ResourceError)
        kind = Error::Kind::DiskFull;
    return Error::make(kind, file.errorString());
}

// Creates the folder and its missing parents. The folder itself is private to
// the user (the state file holds passwords); an existing one is left as it is.
Result<void> ensureDirectory(const QString &path)
{
    namespace fs = std::filesystem;
    const fs::path directory(QFile::encodeName(QDir::cleanPath(path)).toStdString());
    std::error_code code;
    if (fs::is_directory(directory, code))
        return {};
    if (!fs::create_directories(directory, code) && code)
        return fileSystemError(code);
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace, code);
    if (code)
        return fileSystemError(code);
    return {};
}

// Copies the previous edition's state file into the new folder once; the old
// file is never touched.
Result<void> migrateLegacyStorageIfNeeded(const QString &dataFolder, const QString &targetDirectory)
{
    const QString target = targetDirectory + QLatin1Char('/') + AppConfig::accountsFileName;
    if (QFileInfo::exists(target))
        return {};
    const QString legacy =
        dataFolder + QLatin1Char('/') + AppConfig::previousEditionId + QLatin1Char('/') + AppConfig::accountsFileName;
    if (!QFileInfo::exists(legacy))
        return {};
    QFile source(legacy);
    if (!source.copy(target))
        return fileError(source);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}

} // namespace

FileAccountRepository::Created FileAccountRepository::create(const std::optional<QString> &baseDirectory)
{
    if (!baseDirectory)
        return createInDataLocations(QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
    if (auto created = ensureDirectory(*baseDirectory); !created)
        return created.error();
    return std::unique_ptr<FileAccountRepository>(
        new FileAccountRepository(QDir(*baseDirectory).filePath(AppConfig::accountsFileName)));
}

FileAccountRepository::Created FileAccountRepository::createInDataLocations(const QStringList &dataLocations)
{
    if (dataLocations.isEmpty() || dataLocations.constFirst().isEmpty())
        return Error::make(Error::Kind::DataFolderUnavailable);
    const QString dataFolder = QDir::cleanPath(dataLocations.constFirst());
    const QString targetDirectory = dataFolder + QLatin1Char('/') + AppConfig::applicationId;
    if (auto created = ensureDirectory(targetDirectory); !created)
        return created.error();
    if (auto migrated = migrateLegacyStorageIfNeeded(dataFolder, targetDirectory); !migrated)
        return migrated.error();
    return std::unique_ptr<FileAccountRepository>(
        new FileAccountRepository(targetDirectory + QLatin1Char('/') + AppConfig::accountsFileName));
}

Result<AccountsState> FileAccountRepository::loadState()
{
    m_keepFileBeforeSaving = false;
    if (!QFileInfo::exists(m_filePath))
        return AccountsState{};
    auto bytes = readWholeFile(m_filePath);
    if (!bytes) {
        m_keepFileBeforeSaving = true;
        return bytes.error();
    }
    auto state = StateFile::decode(bytes.value(), QDateTime::currentDateTimeUtc());
    m_keepFileBeforeSaving = !state.ok();
    return state;
}

Result<void> FileAccountRepository::saveState(const AccountsState &state)
{
    if (m_keepFileBeforeSaving) {
        if (auto moved = moveUnreadableFileAside(); !moved)
            return moved.error();
        m_keepFileBeforeSaving = false;
    }
    return writeFileAtomically(m_filePath, [&state](QIODevice &device) { return StateFile::write(device, state); });
}

Result<void> FileAccountRepository::moveUnreadableFileAside()
{
    if (!QFileInfo::exists(m_filePath))
        return {};
    const QString stem = m_filePath + QStringLiteral(".unreadable-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (int attempt = 1;; ++attempt) {
        const QString candidate = attempt == 1 ? stem : stem + QLatin1Char('-') + QString::number(attempt);
        if (QFileInfo::exists(candidate))
            continue;
        QFile file(m_filePath);
        if (file.rename(candidate))
            return {};
        // Lost a race for the name: try the next one.
        if (!QFileInfo::exists(candidate))
            return fileError(file);
    }
}
