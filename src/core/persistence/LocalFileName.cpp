#include "LocalFileName.h"

namespace {

constexpr char16_t kEscapeBase = 0xdc00;

// The length of the well-formed UTF-8 sequence at `p`, or 0.
int sequenceLength(const uchar *p, const uchar *end)
{
    const uchar c = *p;
    int length = 0;
    char32_t min = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xc2 && c <= 0xdf) {
        length = 2;
        min = 0x80;
    } else if (c >= 0xe0 && c <= 0xef) {
        length = 3;
        min = 0x800;
    } else if (c >= 0xf0 && c <= 0xf4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    char32_t code = c & (0x3f >> (length - 1));
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xc0) != 0x80)
            return 0;
        code = code << 6 | (p[i] & 0x3f);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if (code < min || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    return length;
}

} // namespace

QString LocalFileName::decode(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    const auto *p = reinterpret_cast<const uchar *>(bytes.constData());
    const auto *const end = p + bytes.size();
    while (p < end) {
        const int length = sequenceLength(p, end);
        if (length == 0) {
            name.append(QChar(char16_t(kEscapeBase + *p)));
            ++p;
            continue;
        }
        name.append(QString::fromUtf8(reinterpret_cast<const char *>(p), length));
        p += length;
    }
    return name;
}

QByteArray LocalFileName::encode(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name.at(i).unicode();
        // The second half of a surrogate pair is a character, not a byte.
        const bool escaped =
            u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xff && (i == 0 || !name.at(i - 1).isHighSurrogate());
        if (!escaped)
            continue;
        bytes.append(QStringView(name).sliced(start, i - start).toUtf8());
        bytes.append(char(u - kEscapeBase));
        start = i + 1;
    }
    bytes.append(QStringView(name).sliced(start).toUtf8());
    return bytes;
}
