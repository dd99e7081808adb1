#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One writer per data folder: the window holds this lock for its lifetime,
// and the command line takes it before it changes the state file. A lock
// left by a process that no longer runs is taken over.
class DataFolderLock {
public:
    enum class Outcome { acquired, heldByLiveProcess, unavailable };

    explicit DataFolderLock(const QString &stateFilePath);

    Outcome tryLock(int timeoutMs = 0);
    qint64 holderPid() const;

private:
    std::unique_ptr<QLockFile> m_lock;
};
