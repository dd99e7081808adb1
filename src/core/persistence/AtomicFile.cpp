#include "AtomicFile.h"

#include "LocalFileName.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The folder part of a system path, "." for a bare name.
QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

std::optional<QByteArray> realPath(const QByteArray &path)
{
    char *real = ::realpath(path.constData(), nullptr);
    if (!real)
        return std::nullopt;
    QByteArray resolved(real);
    std::free(real);
    return resolved;
}

// An existing file through any links; one yet to be written by its folder's
// canonical path.
QByteArray canonical(const QByteArray &path)
{
    if (auto resolved = realPath(path))
        return *resolved;
    if (auto folder = realPath(folderOf(path)))
        return *folder + '/' + path.mid(path.lastIndexOf('/') + 1);
    return path;
}

} // namespace

Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    return writeFileAtomically(path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); });
}

Result<void> writeFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    const auto failed = [&path](int errorNumber) { return Error::fromErrno(errorNumber, Error::Access::write, path); };
    // A link is followed, so that a linked state file stays where it is.
    const QByteArray systemPath = LocalFileName::encode(path);
    const QByteArray target = realPath(systemPath).value_or(systemPath);
    // The temporary file is created private (0600) before any secret is in it.
    QByteArray temporary = target + QByteArrayLiteral(".XXXXXX");
    const Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return failed(errno);

    int errorNumber = 0;
    {
        QFile file;
        file.open(fd.get(), QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
        errno = 0;
        if (!write(file))
            errorNumber = errno != 0 ? errno : (file.error() == QFileDevice::ResourceError ? ENOSPC : EIO);
    }
    if (errorNumber == 0 && ::fsync(fd.get()) != 0)
        errorNumber = errno;
    if (errorNumber == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        errorNumber = errno;
    if (errorNumber != 0) {
        ::unlink(temporary.constData());
        return failed(errorNumber);
    }
    // The new name is durable only once the folder is on disk too.
    const Descriptor folder(::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return {};
}

Result<QByteArray> readWholeFile(const QString &path, qint64 maxBytes)
{
    const auto failed = [&path](int errorNumber) { return Error::fromErrno(errorNumber, Error::Access::read, path); };
    const Descriptor fd(::open(LocalFileName::encode(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return failed(errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return failed(errno);
    if (S_ISDIR(info.st_mode))
        return failed(EISDIR);
    const bool regular = S_ISREG(info.st_mode);
    if (regular && info.st_size > maxBytes)
        return failed(EFBIG);

    constexpr qsizetype kChunk = 64 * 1024;
    QByteArray bytes;
    if (regular)
        bytes.reserve(info.st_size + kChunk);
    for (;;) {
        const qsizetype size = bytes.size();
        bytes.resize(size + kChunk);
        const ssize_t got = ::read(fd.get(), bytes.data() + size, size_t(kChunk));
        if (got < 0 && errno == EINTR) {
            bytes.resize(size);
            continue;
        }
        if (got < 0)
            return failed(errno);
        bytes.resize(size + got);
        if (got == 0)
            return bytes;
        // A file that grows while it is read, or a device that never ends.
        if (bytes.size() > maxBytes)
            return failed(EFBIG);
    }
}

bool isSameFile(const QString &first, const QString &second)
{
    const QByteArray a = LocalFileName::encode(first);
    const QByteArray b = LocalFileName::encode(second);
    struct stat infoA {
    }, infoB{};
    if (::stat(a.constData(), &infoA) == 0 && ::stat(b.constData(), &infoB) == 0)
        return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    return canonical(a) == canonical(b);
}
