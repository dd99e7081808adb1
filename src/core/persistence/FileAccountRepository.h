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

    // The state file of this edition and of the previous one, in the user's
    // data folder (the first of `dataLocations`); none without a data folder.
    struct Paths {
        QString current;
        QString previousEdition;
    };
    static std::optional<Paths> paths(const QStringList &dataLocations = standardDataLocations());
    static QStringList standardDataLocations();

    // With a base directory the file lives there and nothing is migrated;
    // without one it lives in the user's data folder (see below).
    static Created create(const std::optional<QString> &baseDirectory = std::nullopt);
    // The first of `dataLocations` is the user's data folder; the file of the
    // previous edition is copied from there once. None: DataFolderUnavailable.
    static Created createInDataLocations(const QStringList &dataLocations);

    // For commands that only read: the current state file, or the previous
    // edition's while there is none, read where it lies. Nothing is created,
    // copied or moved, so this works on a read-only data folder.
    static Result<AccountsState> readInPlace(const QStringList &dataLocations = standardDataLocations());

    // A file that cannot be read is never replaced: the error names the
    // name it will be kept under, and the next save renames it so first.
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
    // user's data, so it is renamed to this before anything replaces it.
    QString m_keepFileAs;
};
