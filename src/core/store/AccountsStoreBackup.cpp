// Backup export and import.
#include "AccountsStore.h"

#include "AppConfig.h"
#include "persistence/AtomicFile.h"

namespace {

// Merges by id: an imported record replaces the current one with the same id
// as a whole; current records the backup does not hold stay.
template<typename T>
QList<T> mergedById(const QList<T> &current, const QList<T> &imported)
{
    QList<T> merged = current;
    QHash<QUuid, qsizetype> index;
    index.reserve(merged.size() + imported.size());
    for (qsizetype i = 0; i < merged.size(); ++i)
        index.insert(merged[i].id, i);
    for (const T &record : imported) {
        const auto found = index.constFind(record.id);
        if (found != index.cend()) {
            merged[*found] = record;
        } else {
            index.insert(record.id, merged.size());
            merged.append(record);
        }
    }
    return merged;
}

} // namespace

Result<void> AccountsStore::exportBackup(const QString &path, const QString &password)
{
    const auto failed = [this](const Error &error) {
        setLastErrorMessage(QStringLiteral("Не удалось выполнить экспорт: ") + error.localizedDescription());
        return error;
    };
    // A backup written over the state file (or any file of ours) would
    // destroy the very data it is meant to keep.
    for (const QString &own : std::as_const(m_deps.applicationFiles)) {
        if (isSameFile(path, own))
            return failed(Error::make(Error::Kind::ApplicationFile, path));
    }
    const BackupPayload payload{1, m_deps.dateProvider->now(), AccountsState{m_services, m_accounts, m_events},
                                m_preferences};
    Result<QByteArray> bytes = m_deps.transferService->encrypt(payload, password);
    if (!bytes)
        return failed(bytes.error());
    if (Result<void> written = writeFileAtomically(path, bytes.value()); !written)
        return failed(written.error());
    setLastErrorMessage(std::nullopt);
    return {};
}

Result<void> AccountsStore::importBackup(const QString &path, const QString &password, BackupImportMode mode)
{
    Result<QByteArray> bytes = readWholeFile(path, AppConfig::maximumBackupBytes);
    Result<BackupPayload> payload =
        bytes ? m_deps.transferService->decrypt(bytes.value(), password) : Result<BackupPayload>(bytes.error());
    Result<void> applied = payload ? applyImportedPayload(payload.value(), mode) : Result<void>(payload.error());
    if (!applied) {
        Error error = applied.error();
        if (error.path.isEmpty())
            error.path = path; // "not JSON" and the like are about the backup
        setLastErrorMessage(QStringLiteral("Не удалось выполнить импорт: ") + error.localizedDescription());
        return error;
    }
    setLastErrorMessage(std::nullopt);
    return {};
}

void AccountsStore::exportBackupWithPanel(const QString &password)
{
    if (!m_deps.filePanels)
        return;
    const std::optional<QString> path = m_deps.filePanels->chooseSaveLocation(defaultBackupFileName);
    if (!path || path->isEmpty())
        return;
    (void)exportBackup(*path, password);
}

void AccountsStore::importBackupWithPanel(const QString &password, BackupImportMode mode)
{
    if (!m_deps.filePanels)
        return;
    const std::optional<QString> path = m_deps.filePanels->chooseOpenLocation();
    if (!path || path->isEmpty())
        return;
    (void)importBackup(*path, password, mode);
}

Result<void> AccountsStore::applyImportedPayload(const BackupPayload &payload, BackupImportMode mode)
{
    AccountsState imported = mode == BackupImportMode::replace
        ? payload.state
        : AccountsState{mergedById(m_services, payload.state.services), mergedById(m_accounts, payload.state.accounts),
                        mergedById(m_events, payload.state.events)};
    normalizeLoadedState(imported);

    // The imported state is written first, synchronously, through the
    // repository (after any save still pending, by the one writer). Only once it is on disk does it become the store's
    // data and do the backup's preferences and login item apply, so a failed import changes nothing at all.
    if (Result<void> saved = m_deps.accountRepository->saveState(imported); !saved)
        return saved;
    adoptState(std::move(imported));
    if (mode == BackupImportMode::replace) {
        setPreferencesValue(payload.preferences);
        m_deps.preferencesRepository->savePreferences(payload.preferences);
        // The imported flag is kept even when the autostart entry cannot follow it.
        (void)m_deps.autostartService->setEnabled(payload.preferences.autoLaunchAtStartup);
    }
    return {};
}
