#include "AtomicFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// errno is read right after the failing call: Qt keeps only a translated text.
Error writeError(int errorNumber, const QFileDevice &file)
{
    Error::Kind kind = Error::Kind::FileWrite;
    if (errorNumber == ENOSPC || file.error() == QFileDevice::ResourceError)
        kind = Error::Kind::DiskFull;
    else if (errorNumber == EACCES || errorNumber == EPERM)
        kind = Error::Kind::FileAccess;
    return Error::make(kind, file.errorString());
}

} // namespace

Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    return writeFileAtomically(path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); });
}

Result<void> writeFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return writeError(errno, file);
    // A new temporary file is 0666 minus umask and one that replaces an older
    // file copies its mode; narrow it before any secret reaches the disk.
    errno = 0;
    if (!file.setPermissions(kOwnerOnly))
        return writeError(errno, file);
    errno = 0;
    if (!write(file))
        return writeError(errno, file);
    errno = 0;
    if (!file.commit())
        return writeError(errno, file);
    return {};
}

Result<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int errorNumber = errno;
        Error::Kind kind = Error::Kind::FileRead;
        if (errorNumber == ENOENT)
            kind = Error::Kind::FileNotFound;
        else if (errorNumber == EACCES || errorNumber == EPERM)
            kind = Error::Kind::FileAccess;
        return Error::make(kind, file.errorString());
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Error::make(Error::Kind::FileRead, file.errorString());
    return bytes;
}
