#pragma once

#include "model/Result.h"

#include <QString>

#include <optional>

// One writer per data folder: the window holds this lock for its lifetime,
// and `tallyport import` while it changes the state file. It is an flock() on
// "accounts.json.lock", which the system releases when its holder ends, in
// whatever way: a lock file left behind never blocks anyone, even where it
// cannot be removed. The file tells who holds it, for the messages.
class DataFolderLock {
public:
    enum class Role { window, import };

    struct Outcome {
        enum class Kind { acquired, heldByWindow, heldByImport, failed };
        Kind kind = Kind::failed;
        qint64 holderPid = 0;       // when held, 0 if the holder did not say
        std::optional<Error> error; // when failed
    };

    DataFolderLock(const QString &stateFilePath, Role role);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock &) = delete;
    DataFolderLock &operator=(const DataFolderLock &) = delete;

    static QString pathFor(const QString &stateFilePath);

    // Waits up to `waitMs` for a holder to let go.
    Outcome tryLock(int waitMs = 0);

private:
    QString m_path;
    Role m_role;
    int m_fd = -1;
};
