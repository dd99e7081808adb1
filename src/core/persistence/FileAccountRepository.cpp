#include "FileAccountRepository.h"

#include "AppConfig.h"
#include "AtomicFile.h"
#include "LocalFileName.h"
#include "StateFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Creates the folder and its missing parents. The folder itself is private to
// the user (the state file holds passwords); an existing one is left as it is.
Result<void> ensureDirectory(const QString &path)
{
    namespace fs = std::filesystem;
    const fs::path directory(LocalFileName::encode(QDir::cleanPath(path)).toStdString());
    std::error_code code;
    if (fs::is_directory(directory, code))
        return {};
    if (!fs::create_directories(directory, code) && code)
        return Error::fromErrno(code.value(), Error::Access::write, path);
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace, code);
    if (code)
        return Error::fromErrno(code.value(), Error::Access::write, path);
    return {};
}

// Copies the previous edition's state file into the new folder once; the old
// file is never touched.
Result<void> migrateLegacyStorageIfNeeded(const FileAccountRepository::Paths &paths)
{
    if (QFileInfo::exists(paths.current) || !QFileInfo::exists(paths.previousEdition))
        return {};
    Result<QByteArray> bytes = readWholeFile(paths.previousEdition);
    if (!bytes)
        return bytes.error();
    return writeFileAtomically(paths.current, bytes.value());
}

Result<AccountsState> readStateFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return AccountsState{};
    Result<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return bytes.error();
    Result<AccountsState> state = StateFile::decode(bytes.value(), QDateTime::currentDateTimeUtc());
    if (state)
        return state;
    return Error::make(state.error().kind, path);
}

} // namespace

QStringList FileAccountRepository::standardDataLocations()
{
    return QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

std::optional<FileAccountRepository::Paths> FileAccountRepository::paths(const QStringList &dataLocations)
{
    if (dataLocations.isEmpty() || dataLocations.constFirst().isEmpty())
        return std::nullopt;
    const QDir dataFolder(QDir::cleanPath(dataLocations.constFirst()));
    return Paths{dataFolder.filePath(AppConfig::applicationId + u'/' + AppConfig::accountsFileName),
                 dataFolder.filePath(AppConfig::previousEditionId + u'/' + AppConfig::accountsFileName)};
}

FileAccountRepository::Created FileAccountRepository::create(const std::optional<QString> &baseDirectory)
{
    if (!baseDirectory)
        return createInDataLocations(standardDataLocations());
    if (auto created = ensureDirectory(*baseDirectory); !created)
        return created.error();
    return std::unique_ptr<FileAccountRepository>(
        new FileAccountRepository(QDir(*baseDirectory).filePath(AppConfig::accountsFileName)));
}

FileAccountRepository::Created FileAccountRepository::createInDataLocations(const QStringList &dataLocations)
{
    const std::optional<Paths> files = paths(dataLocations);
    if (!files)
        return Error::make(Error::Kind::DataFolderUnavailable);
    if (auto created = ensureDirectory(QFileInfo(files->current).path()); !created)
        return created.error();
    if (auto migrated = migrateLegacyStorageIfNeeded(*files); !migrated)
        return migrated.error();
    return std::unique_ptr<FileAccountRepository>(new FileAccountRepository(files->current));
}

Result<AccountsState> FileAccountRepository::readInPlace(const QStringList &dataLocations)
{
    const std::optional<Paths> files = paths(dataLocations);
    if (!files)
        return Error::make(Error::Kind::DataFolderUnavailable);
    const bool onlyPrevious = !QFileInfo::exists(files->current) && QFileInfo::exists(files->previousEdition);
    return readStateFile(onlyPrevious ? files->previousEdition : files->current);
}

Result<AccountsState> FileAccountRepository::loadState()
{
    m_keepFileAs.clear();
    Result<AccountsState> state = readStateFile(m_filePath);
    if (state)
        return state;
    m_keepFileAs = m_filePath + QStringLiteral(".unreadable-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    Error error = state.error();
    error.keptAs = m_keepFileAs;
    return error;
}

Result<void> FileAccountRepository::saveState(const AccountsState &state)
{
    if (!m_keepFileAs.isEmpty()) {
        if (auto moved = moveUnreadableFileAside(); !moved)
            return moved.error();
        m_keepFileAs.clear();
    }
    return writeFileAtomically(m_filePath, [&state](QIODevice &device) { return StateFile::write(device, state); });
}

Result<void> FileAccountRepository::moveUnreadableFileAside()
{
    if (!QFileInfo::exists(m_filePath))
        return {};
    QString target = m_keepFileAs;
    for (int attempt = 2; QFileInfo::exists(target); ++attempt)
        target = m_keepFileAs + u'-' + QString::number(attempt);
    if (::rename(LocalFileName::encode(m_filePath).constData(), LocalFileName::encode(target).constData()) != 0)
        return Error::fromErrno(errno, Error::Access::write, m_filePath);
    return {};
}
