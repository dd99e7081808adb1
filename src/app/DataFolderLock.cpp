#include "DataFolderLock.h"

DataFolderLock::DataFolderLock(const QString &stateFilePath)
    : m_lock(std::make_unique<QLockFile>(stateFilePath + QStringLiteral(".lock")))
{
    // Only a dead holder makes the lock stale, never its age: the window
    // holds it for days.
    m_lock->setStaleLockTime(0);
}

DataFolderLock::Outcome DataFolderLock::tryLock(int timeoutMs)
{
    if (m_lock->tryLock(timeoutMs))
        return Outcome::acquired;
    return m_lock->error() == QLockFile::LockFailedError ? Outcome::heldByLiveProcess : Outcome::unavailable;
}

qint64 DataFolderLock::holderPid() const
{
    qint64 pid = 0;
    QString host, app;
    return m_lock->getLockInfo(&pid, &host, &app) ? pid : 0;
}
