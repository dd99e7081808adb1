// Backup export and import.
#include "AccountsStore.h"

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
    const BackupPayload payload{1, m_deps.dateProvider->now(), AccountsState{m_services, m_accounts, m_events},
                                m_preferences};
    Result<QByteArray> bytes = m_deps.transferService->encrypt(payload, password);
    Result<void> written = bytes ? writeFileAtomically(path, bytes.value()) : Result<void>(bytes.error());
    if (!written) {
        setLastErrorMessage(QStringLiteral("Не удалось выполнить экспорт: ") + written.error().localizedDescription());
        return written;
    }
    setLastErrorMessage(std::nullopt);
    return {};
}

Result<void> AccountsStore::importBackup(const QString &path, const QString &password, BackupImportMode mode)
{
    Result<QByteArray> bytes = readWholeFile(path);
    Result<BackupPayload> payload =
        bytes ? m_deps.transferService->decrypt(bytes.value(), password) : Result<BackupPayload>(bytes.error());
    if (!payload) {
        setLastErrorMessage(QStringLiteral("Не удалось выполнить импорт: ") + payload.error().localizedDescription());
        return payload.error();
    }
    // A failed save keeps its message: the import is not reported as done.
    Result<void> saved = applyImportedPayload(payload.value(), mode);
    if (saved)
        setLastErrorMessage(std::nullopt);
    return saved;
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
    if (mode == BackupImportMode::replace) {
        m_services = payload.state.services;
        m_accounts = payload.state.accounts;
        m_events = payload.state.events;
        normalizeLoadedState();
        notifyChanged(ServicesChanged | AccountsChanged | EventsChanged);
        setPreferencesValue(payload.preferences);
        m_deps.preferencesRepository->savePreferences(payload.preferences);
        // The imported flag is kept even when the autostart entry cannot follow it.
        (void)m_deps.autostartService->setEnabled(payload.preferences.autoLaunchAtStartup);
    } else {
        m_services = mergedById(m_services, payload.state.services);
        m_accounts = mergedById(m_accounts, payload.state.accounts);
        m_events = mergedById(m_events, payload.state.events);
        normalizeLoadedState();
        notifyChanged(ServicesChanged | AccountsChanged | EventsChanged);
    }
    return saveCurrentState();
}
