#include "DataFolderLock.h"

#include "persistence/LocalFileName.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kPollMs = 100;

const QByteArray importRole = QByteArrayLiteral("import");

// The holder's "<pid>\n<role>\n". Older holders wrote a QLockFile, whose
// second line is the program name: a window.
DataFolderLock::Outcome holderOf(int fd)
{
    QByteArray contents(256, '\0');
    const ssize_t got = ::pread(fd, contents.data(), size_t(contents.size()), 0);
    const QList<QByteArray> lines = contents.left(got > 0 ? got : 0).split('\n');
    DataFolderLock::Outcome held;
    held.holderPid = lines.value(0).toLongLong();
    held.kind = lines.value(1) == importRole ? DataFolderLock::Outcome::Kind::heldByImport
                                             : DataFolderLock::Outcome::Kind::heldByWindow;
    return held;
}

} // namespace

DataFolderLock::DataFolderLock(const QString &stateFilePath, Role role)
    : m_path(pathFor(stateFilePath))
    , m_role(role)
{}

DataFolderLock::~DataFolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString DataFolderLock::pathFor(const QString &stateFilePath)
{
    return stateFilePath + QStringLiteral(".lock");
}

DataFolderLock::Outcome DataFolderLock::tryLock(int waitMs)
{
    if (m_fd >= 0)
        return {Outcome::Kind::acquired, 0, std::nullopt};
    const QByteArray path = LocalFileName::encode(m_path);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // A lock file that cannot be written (a read-only folder, another
        // owner) can still be locked: flock() needs no write access.
        const int openError = errno;
        const bool readOnly = openError == EACCES || openError == EPERM || openError == EROFS;
        fd = readOnly ? ::open(path.constData(), O_RDONLY | O_CLOEXEC) : -1;
        if (fd < 0)
            return {Outcome::Kind::failed, 0, Error::fromErrno(openError, Error::Access::write, m_path)};
    }
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const Error error = Error::fromErrno(errno, Error::Access::write, m_path);
            ::close(fd);
            return {Outcome::Kind::failed, 0, error};
        }
        if (deadline.hasExpired()) {
            const Outcome held = holderOf(fd);
            ::close(fd);
            return held;
        }
        QThread::msleep(kPollMs);
    }
    m_fd = fd;
    // Who holds it, for the messages of others; written over the old text
    // before cutting it, so a reader never finds the file empty. Without room
    // on the disk the lock holds all the same.
    const QByteArray holder = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
        + (m_role == Role::import ? importRole : QByteArrayLiteral("window")) + '\n';
    if (::pwrite(fd, holder.constData(), size_t(holder.size()), 0) == holder.size())
        (void)!::ftruncate(fd, holder.size());
    return {Outcome::Kind::acquired, 0, std::nullopt};
}
