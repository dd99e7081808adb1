#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// Whole-file I/O for files that hold the user's data. Writes replace the old
// file in one step (a crash leaves the old or the new file whole) and leave it
// readable by its owner only, since these files hold passwords.
Result<void> writeFileAtomically(const QString &path, const QByteArray &bytes);
// The same, with the contents written by `write`, which returns false when a
// write to the device fails.
Result<void> writeFileAtomically(const QString &path, const std::function<bool(QIODevice &)> &write);
Result<QByteArray> readWholeFile(const QString &path);
