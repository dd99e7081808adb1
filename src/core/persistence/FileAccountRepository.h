#pragma once

#include "AccountRepository.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// The state as one pretty-printed JSON file, "accounts.json", in the
// application's folder of the per-user data folder.
class FileAccountRepository final : public AccountRepository {
public:
    using Created = Result<std::unique_ptr<FileAccountRepository>>;

    // With a base directory the file lives there and nothing is migrated;
    // without one it lives in the user's data folder (see below).
    static Created create(const std::optional<QString> &baseDirectory = std::nullopt);
    // The first of `dataLocations` is the user's data folder; the file of the
    // previous edition is copied from there once. None: DataFolderUnavailable.
    static Created createInDataLocations(const QStringList &dataLocations);

    Result<AccountsState> loadState() override;
    Result<void> saveState(const AccountsState &state) override;

    QString filePath() const { return m_filePath; }

private:
    explicit FileAccountRepository(QString filePath)
        : m_filePath(std::move(filePath))
    {}

    Result<void> moveUnreadableFileAside();

    QString m_filePath;
    // The last load failed: the file on disk may be the only copy of the
    // user's data, so it is kept aside before anything replaces it.
    bool m_keepFileBeforeSaving = false;
};
