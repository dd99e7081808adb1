#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <limits>

// Whole-file I/O for files that hold the user's data. Writes replace the old
// file in one step (a crash leaves the old or the new file whole) and leave it
// readable by its owner only, since these files hold passwords. Paths go to
// the system through LocalFileName, so any name the system allows works, and
// failures are reported by their errno (Error::fromErrno).
Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes);
// The same, with the contents written by `write`, which returns false when a
// write to the device fails (leaving errno as the failed call set it).
Result<void> writeFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write);
// A file larger than `maxBytes` is refused with Error::Kind::TooLarge: a
// regular file by its size before it is read, a pipe or a device once that
// much has been read.
Result<QByteArray> readWholeFile(const QString &path, qint64 maxBytes = std::numeric_limits<qint64>::max());
// Whether the two paths name one file: through links to the same file when
// both exist, by the canonical path of a file yet to be written otherwise.
bool isSameFile(const QString &first, const QString &second);
