#pragma once

#include <QByteArray>
#include <QString>

// File names as the system has them, bytes, and as text. Linux allows any
// bytes in a name, and QFile::decodeName turns bytes that are not UTF-8 into
// U+FFFD, so such a file could be neither opened nor written under its own
// name. Here each such byte becomes the lone surrogate U+DC80..U+DCFF and
// back again, so every name survives the round trip exactly; valid UTF-8 reads
// as usual.
namespace LocalFileName {
QString decode(const QByteArray &bytes);
QByteArray encode(const QString &name);
} // namespace LocalFileName
