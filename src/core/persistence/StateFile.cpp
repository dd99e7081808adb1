#include "StateFile.h"

#include "model/JsonCoding.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

// The state file of a long-used installation holds a history of a hundred
// thousand events and more; through QJsonDocument and JsonCoding it takes the
// better part of a second to read and longer to write.
// Both directions therefore work on bytes here:
// - Writing emits exactly the bytes of QJsonDocument::Indented for
//   JsonCoding::encode, so the file format has one definition.
// - Reading takes the common, plain form of the file directly into records
//   and gives up on anything unusual (escapes QJsonDocument treats leniently,
//   numbers, duplicate keys, a value it would not take); the bytes then go
//   through QJsonDocument and JsonCoding, which decide.
// Dates and UUIDs take JsonCoding's text forms in both directions.

namespace {

// ---- writing ----

constexpr char kHexLower[] = "0123456789abcdef";

// The file goes to the device in pieces through one buffer of this size, so a
// large state needs no copy of the whole file in memory (and no fresh pages
// for one on every save).
constexpr qsizetype kPieceSize = 256 * 1024;

class Output {
public:
    explicit Output(QIODevice &device)
        : m_device(device)
        , m_buffer(kPieceSize, Qt::Uninitialized)
    {}

    // Makes room for `count` more bytes and returns where they go.
    char *room(qsizetype count)
    {
        if (m_size + count > m_buffer.size()) {
            flush();
            if (count > m_buffer.size())
                m_buffer.resize(count);
        }
        return m_buffer.data() + m_size;
    }
    void advance(char *to) { m_size = to - m_buffer.data(); }

    // Writes what is left; false when any write failed.
    bool finish()
    {
        flush();
        return m_ok;
    }

private:
    void flush()
    {
        if (m_ok && m_size > 0)
            m_ok = m_device.write(m_buffer.constData(), m_size) == m_size;
        m_size = 0;
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_size = 0;
    bool m_ok = true;
};

template<size_t N>
char *put(char *out, const char (&literal)[N])
{
    std::memcpy(out, literal, N - 1);
    return out + N - 1;
}

// The longest a string can grow: six bytes ("\u001f") per UTF-16 unit.
qsizetype stringRoom(const QString &text)
{
    return 6 * text.size() + 2;
}

// A quoted string escaped as QJsonDocument does: the short escapes, \u00xx for
// other control characters and \udxxx for unpaired surrogates, UTF-8 for the
// rest.
char *putString(char *out, QStringView text)
{
    *out++ = '"';
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    while (c < end) {
        const char16_t u = *c++;
        if (u >= 0x20 && u < 0x80) {
            if (u == '"' || u == '\\')
                *out++ = '\\';
            *out++ = char(u);
        } else if (u < 0x20) {
            *out++ = '\\';
            switch (u) {
            case '\b': *out++ = 'b'; break;
            case '\f': *out++ = 'f'; break;
            case '\n': *out++ = 'n'; break;
            case '\r': *out++ = 'r'; break;
            case '\t': *out++ = 't'; break;
            default:
                out = put(out, "u00");
                *out++ = kHexLower[u >> 4];
                *out++ = kHexLower[u & 0xf];
            }
        } else if (u < 0x800) {
            *out++ = char(0xc0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (!QChar::isSurrogate(u)) {
            *out++ = char(0xe0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3f));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (QChar::isHighSurrogate(u) && c < end && QChar::isLowSurrogate(*c)) {
            const char32_t code = QChar::surrogateToUcs4(u, *c++);
            *out++ = char(0xf0 | (code >> 18));
            *out++ = char(0x80 | ((code >> 12) & 0x3f));
            *out++ = char(0x80 | ((code >> 6) & 0x3f));
            *out++ = char(0x80 | (code & 0x3f));
        } else {
            out = put(out, "\\u");
            for (int shift = 12; shift >= 0; shift -= 4)
                *out++ = kHexLower[(u >> shift) & 0xf];
        }
    }
    *out++ = '"';
    return out;
}

char *putDate(char *out, const QDateTime &date)
{
    *out++ = '"';
    out = JsonCoding::writeDate(out, date);
    *out++ = '"';
    return out;
}

char *putUuid(char *out, const QUuid &id)
{
    *out++ = '"';
    out = JsonCoding::writeUuid(out, id);
    *out++ = '"';
    return out;
}

// The raw values of AccountEventType as bytes, indexed by the enumerator.
const std::array<QByteArray, 8> &eventTypeNames()
{
    static const std::array<QByteArray, 8> names = [] {
        std::array<QByteArray, 8> table;
        for (const AccountEventType type : AccountEventTypes::allCases())
            table.at(size_t(type)) = AccountEventTypes::rawValue(type).toLatin1();
        return table;
    }();
    return names;
}

char *putBool(char *out, bool value)
{
    return value ? put(out, "true") : put(out, "false");
}

// Everything of a record except its strings, with generous indentation.
constexpr qsizetype kRecordRoom = 1024;

// Record members sit at 12 spaces, records at 8, the state's lists at 4.
#define MEMBER(name) "            \"" name "\": "

void putAccount(Output &output, const Account &account)
{
    char *out =
        output.room(kRecordRoom + stringRoom(account.name) + stringRoom(account.note) + stringRoom(account.password));
    out = put(out, "        {\n");
    if (account.archivedAt) {
        out = put(out, MEMBER("archivedAt"));
        out = put(putDate(out, *account.archivedAt), ",\n");
    }
    out = put(out, MEMBER("createdAt"));
    out = put(putDate(out, account.createdAt), ",\n" MEMBER("hasNoLimits"));
    out = put(putBool(out, account.hasNoLimits), ",\n" MEMBER("id"));
    out = put(putUuid(out, account.id), ",\n" MEMBER("isArchived"));
    out = put(putBool(out, account.isArchived), ",\n" MEMBER("name"));
    out = put(putString(out, account.name), ",\n" MEMBER("note"));
    out = put(putString(out, account.note), ",\n" MEMBER("password"));
    out = put(putString(out, account.password), ",\n");
    if (account.resetAt) {
        out = put(out, MEMBER("resetAt"));
        out = put(putDate(out, *account.resetAt), ",\n");
    }
    out = put(out, MEMBER("serviceId"));
    out = putUuid(out, account.serviceId);
    if (account.startedAt) {
        out = put(out, ",\n" MEMBER("startedAt"));
        out = putDate(out, *account.startedAt);
    }
    output.advance(put(out, "\n        }"));
}

void putEvent(Output &output, const AccountEvent &event)
{
    char *out = output.room(kRecordRoom + stringRoom(event.details));
    out = put(out, "        {\n" MEMBER("accountId"));
    out = put(putUuid(out, event.accountId), ",\n" MEMBER("details"));
    out = put(putString(out, event.details), ",\n" MEMBER("id"));
    out = put(putUuid(out, event.id), ",\n" MEMBER("timestamp"));
    out = put(putDate(out, event.timestamp), ",\n" MEMBER("type") "\"");
    const QByteArray &type = eventTypeNames()[size_t(event.type)];
    std::memcpy(out, type.constData(), size_t(type.size()));
    output.advance(put(out + type.size(), "\"\n        }"));
}

void putService(Output &output, const Service &service)
{
    char *out = output.room(kRecordRoom + stringRoom(service.name));
    out = put(out, "        {\n" MEMBER("createdAt"));
    out = put(putDate(out, service.createdAt), ",\n" MEMBER("id"));
    out = put(putUuid(out, service.id), ",\n" MEMBER("isSystem"));
    out = put(putBool(out, service.isSystem), ",\n" MEMBER("name"));
    out = putString(out, service.name);
    output.advance(put(out, "\n        }"));
}

#undef MEMBER

template<size_t N, typename T, typename Put>
void putList(Output &output, const char (&opening)[N], const QList<T> &items, Put putItem)
{
    output.advance(put(output.room(N), opening));
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            output.advance(put(output.room(2), ",\n"));
        putItem(output, items[i]);
    }
    if (!items.isEmpty())
        output.advance(put(output.room(1), "\n"));
    output.advance(put(output.room(5), "    ]"));
}

// ---- reading ----

// Gives up on the plain path; the caller falls back to QJsonDocument.
struct Unusual {};

// Byte i of the text is byte i of the word, counted from the low end.
quint64 load64(const char *p)
{
    return qFromLittleEndian<quint64>(p);
}
quint32 load32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

constexpr quint64 kOnes = 0x0101010101010101ULL;
constexpr quint64 kHighBits = 0x8080808080808080ULL;

// Whether any of the eight bytes is below `limit` (at most 0x80).
constexpr bool anyBelow(quint64 word, quint8 limit)
{
    return (word - limit * kOnes) & ~word & kHighBits;
}
constexpr bool anyEqual(quint64 word, char c)
{
    return anyBelow(word ^ (uchar(c) * kOnes), 1);
}

// The high bit of each byte of the eight that ends a plain run inside a
// string: a quote, a backslash, a control character or a byte of a multi-byte
// sequence. Bits above the lowest may be false, so only the lowest is used.
constexpr quint64 stops(quint64 word)
{
    const quint64 quotes = word ^ (uchar('"') * kOnes);
    const quint64 backslashes = word ^ (uchar('\\') * kOnes);
    return (word | ((word - 0x20 * kOnes) & ~word) | ((quotes - kOnes) & ~quotes)
            | ((backslashes - kOnes) & ~backslashes))
        & kHighBits;
}

// The number of plain bytes before the first stop in a word with one.
int plainBytes(quint64 stopBits)
{
    return qCountTrailingZeroBits(stopBits) / 8;
}

constexpr bool isStop(uchar c)
{
    return c == '"' || c == '\\' || c < 0x20 || c >= 0x80;
}

// The escape at p (a backslash) as one UTF-16 unit; returns its length, or 0
// for the escapes QJsonDocument reads in its own lenient way (unknown letters,
// surrogates).
int escape(const char *p, const char *end, char16_t &unit)
{
    if (end - p < 2)
        return 0;
    switch (p[1]) {
    case '"':
    case '\\':
    case '/': unit = char16_t(p[1]); return 2;
    case 'b': unit = u'\b'; return 2;
    case 'f': unit = u'\f'; return 2;
    case 'n': unit = u'\n'; return 2;
    case 'r': unit = u'\r'; return 2;
    case 't': unit = u'\t'; return 2;
    case 'u': {
        if (end - p < 6)
            return 0;
        int value = 0;
        for (int i = 2; i < 6; ++i) {
            const int digit = JsonCoding::hexDigitValues[uchar(p[i])];
            if (digit < 0)
                return 0;
            value = value << 4 | digit;
        }
        unit = char16_t(value);
        return QChar::isSurrogate(unit) ? 0 : 6;
    }
    default: return 0;
    }
}

// The UTF-8 sequence of two to four bytes at p; returns its length, or 0 when
// it is malformed, overlong, a surrogate or beyond U+10FFFF.
int multiByte(const uchar *p, const uchar *end, char32_t &code)
{
    const auto continuation = [](uchar c) { return (c & 0xc0) == 0x80; };
    const uchar c = p[0];
    const qsizetype left = end - p;
    if (c >= 0xc2 && c <= 0xdf) {
        if (left < 2 || !continuation(p[1]))
            return 0;
        code = char32_t(c & 0x1f) << 6 | (p[1] & 0x3f);
        return 2;
    }
    if (c >= 0xe0 && c <= 0xef) {
        if (left < 3 || !continuation(p[1]) || !continuation(p[2]) || (c == 0xe0 && p[1] < 0xa0)
            || (c == 0xed && p[1] >= 0xa0))
            return 0;
        code = char32_t(c & 0x0f) << 12 | char32_t(p[1] & 0x3f) << 6 | (p[2] & 0x3f);
        return 3;
    }
    if (c >= 0xf0 && c <= 0xf4) {
        if (left < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3]) || (c == 0xf0 && p[1] < 0x90)
            || (c == 0xf4 && p[1] >= 0x90))
            return 0;
        code = char32_t(c & 0x07) << 18 | char32_t(p[1] & 0x3f) << 12 | char32_t(p[2] & 0x3f) << 6 | (p[3] & 0x3f);
        return 4;
    }
    return 0;
}

// A string token: the bytes between the quotes.
struct Token {
    const char *begin = nullptr;
    qsizetype size = 0;
    bool escaped = false; // holds backslash escapes

    bool is(QLatin1StringView text) const
    {
        return size == text.size() && std::memcmp(begin, text.data(), size_t(size)) == 0;
    }
};

class Reader {
public:
    Reader(const QByteArray &bytes, const QDateTime &readTime)
        : m_p(bytes.constData())
        , m_end(bytes.constData() + bytes.size())
        , m_readTime(readTime)
    {}

    AccountsState document()
    {
        AccountsState state;
        skipSpace();
        if (peek() == '{')
            readState(state);
        else if (peek() == '[')
            readList(state.accounts, [this] { return readAccount(); });
        else
            throw Unusual();
        skipSpace();
        if (m_p != m_end)
            throw Unusual();
        return state;
    }

private:
    char peek() const { return m_p < m_end ? *m_p : '\0'; }

    void skipSpace()
    {
        // Indentation comes in runs of four and eight spaces.
        constexpr quint64 spaces8 = 0x2020202020202020ULL;
        constexpr quint32 spaces4 = 0x20202020U;
        for (;;) {
            while (m_end - m_p >= 8 && load64(m_p) == spaces8)
                m_p += 8;
            if (m_end - m_p >= 4 && load32(m_p) == spaces4)
                m_p += 4;
            if (m_p == m_end || (*m_p != ' ' && *m_p != '\n' && *m_p != '\r' && *m_p != '\t'))
                return;
            ++m_p;
        }
    }

    void expect(char c)
    {
        skipSpace();
        if (peek() != c)
            throw Unusual();
        ++m_p;
    }

    // Consumes ',' and returns true, or consumes `closing` and returns false.
    bool more(char closing)
    {
        skipSpace();
        const char c = peek();
        if (c != ',' && c != closing)
            throw Unusual();
        ++m_p;
        return c == ',';
    }

    // Reads '{' and calls `member` with each key, the cursor before the value.
    template<typename Member>
    void readObject(Member member)
    {
        expect('{');
        skipSpace();
        if (peek() == '}') {
            ++m_p;
            return;
        }
        do {
            skipSpace();
            const Token key = string();
            expect(':');
            skipSpace();
            member(key);
        } while (more('}'));
    }

    template<typename Item>
    void readArray(Item item)
    {
        expect('[');
        skipSpace();
        if (peek() == ']') {
            ++m_p;
            return;
        }
        do {
            skipSpace();
            item();
        } while (more(']'));
    }

    template<typename T, typename Read>
    void readList(QList<T> &list, Read read)
    {
        readArray([&] { list.append(read()); });
    }

    // Moves the cursor over plain string content to the next stop byte.
    void skipPlain()
    {
        for (;;) {
            if (m_end - m_p >= 8) {
                const quint64 stopBits = stops(load64(m_p));
                if (stopBits == 0) {
                    m_p += 8;
                    continue;
                }
                m_p += plainBytes(stopBits);
                return;
            }
            while (m_p < m_end && !isStop(uchar(*m_p)))
                ++m_p;
            return;
        }
    }

    // A string token at the cursor, checked as text() checks.
    Token string()
    {
        if (peek() != '"')
            throw Unusual();
        Token token;
        token.begin = ++m_p;
        for (;;) {
            skipPlain();
            if (m_p == m_end)
                throw Unusual();
            const uchar c = uchar(*m_p);
            if (c == '"')
                break;
            int length = 0;
            if (c == '\\') {
                token.escaped = true;
                char16_t unit;
                length = escape(m_p, m_end, unit);
            } else if (c >= 0x80) {
                char32_t code;
                length = multiByte(reinterpret_cast<const uchar *>(m_p), reinterpret_cast<const uchar *>(m_end), code);
            }
            if (length == 0)
                throw Unusual();
            m_p += length;
        }
        token.size = m_p - token.begin;
        ++m_p;
        return token;
    }

    // A text value: well-formed UTF-8 without control characters, with only
    // the escapes QJsonDocument reads the same way, decoded in the same pass.
    QString text()
    {
        if (peek() != '"')
            throw Unusual();
        const char *const begin = ++m_p;
        // First the closing quote: each byte gives at most one UTF-16 unit.
        for (;;) {
            while (m_end - m_p >= 8 && !anyEqual(load64(m_p), '"') && !anyEqual(load64(m_p), '\\'))
                m_p += 8;
            if (m_p == m_end)
                throw Unusual();
            if (*m_p == '"')
                break;
            m_p += *m_p == '\\' && m_end - m_p >= 2 ? 2 : 1;
        }
        const char *const end = m_p++;
        QString text(end - begin, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        const auto *p = reinterpret_cast<const uchar *>(begin);
        const auto *const last = reinterpret_cast<const uchar *>(end);
        while (p < last) {
            const uchar c = *p;
            // Two-byte sequences (Cyrillic) inline, the rest through multiByte().
            if (c >= 0xc2 && c <= 0xdf && last - p >= 2 && (p[1] & 0xc0) == 0x80) {
                *out++ = char16_t((c & 0x1f) << 6 | (p[1] & 0x3f));
                p += 2;
                continue;
            }
            if (!isStop(c)) {
                if (last - p >= 8 && stops(load64(reinterpret_cast<const char *>(p))) == 0) {
                    for (int i = 0; i < 8; ++i)
                        out[i] = p[i];
                    out += 8;
                    p += 8;
                } else {
                    *out++ = c;
                    ++p;
                }
                continue;
            }
            int length = 0;
            if (c == '\\') {
                length = escape(reinterpret_cast<const char *>(p), end, *out++);
            } else if (c >= 0x80) {
                char32_t code = 0;
                length = multiByte(p, last, code);
                if (code > 0xffff) {
                    *out++ = QChar::highSurrogate(code);
                    *out++ = QChar::lowSurrogate(code);
                } else {
                    *out++ = char16_t(code);
                }
            }
            if (length == 0)
                throw Unusual();
            p += length;
        }
        text.truncate(out - reinterpret_cast<const char16_t *>(text.constData()));
        return text;
    }

    QUuid uuid()
    {
        const Token token = string();
        const auto parsed =
            token.escaped ? std::nullopt : JsonCoding::parseUuid(QLatin1StringView(token.begin, token.size));
        if (!parsed)
            throw Unusual();
        return *parsed;
    }

    QDateTime date()
    {
        const Token token = string();
        const auto parsed =
            token.escaped ? std::nullopt : JsonCoding::parseDate(QLatin1StringView(token.begin, token.size));
        if (!parsed)
            throw Unusual();
        return *parsed;
    }

    bool literal(QLatin1StringView word)
    {
        if (m_end - m_p < word.size() || std::memcmp(m_p, word.data(), size_t(word.size())) != 0)
            return false;
        m_p += word.size();
        return true;
    }

    bool null() { return literal(QLatin1StringView("null")); }
    bool boolean()
    {
        if (literal(QLatin1StringView("true")))
            return true;
        if (literal(QLatin1StringView("false")))
            return false;
        throw Unusual();
    }

    // A value of a key the records do not know. Numbers are left to
    // QJsonDocument, which refuses some that look well-formed.
    void skipValue(int depth = 0)
    {
        if (depth > 64)
            throw Unusual();
        switch (peek()) {
        case '"': string(); return;
        case '{': readObject([&](const Token &) { skipValue(depth + 1); }); return;
        case '[': readArray([&] { skipValue(depth + 1); }); return;
        default:
            if (!null() && !literal(QLatin1StringView("true")) && !literal(QLatin1StringView("false")))
                throw Unusual();
        }
    }

    // A key seen twice is left to QJsonDocument, where the last one counts.
    static void mark(unsigned &seen, unsigned bit)
    {
        if (seen & bit)
            throw Unusual();
        seen |= bit;
    }

    void readState(AccountsState &state)
    {
        unsigned seen = 0;
        readObject([&](const Token &key) {
            if (key.escaped)
                throw Unusual();
            if (key.is(QLatin1StringView("accounts"))) {
                mark(seen, 1);
                if (!null())
                    readList(state.accounts, [this] { return readAccount(); });
            } else if (key.is(QLatin1StringView("events"))) {
                mark(seen, 2);
                if (!null())
                    readList(state.events, [this] { return readEvent(); });
            } else if (key.is(QLatin1StringView("services"))) {
                mark(seen, 4);
                if (!null())
                    readList(state.services, [this] { return readService(); });
            } else {
                seen |= 8;
                skipValue();
            }
        });
        // Only other keys: not a state at all, which the document path tells.
        if (seen == 8)
            throw Unusual();
    }

    // Lenient: a missing or null key takes its default.
    Account readAccount()
    {
        Account account;
        std::optional<QUuid> id, serviceId;
        std::optional<QDateTime> createdAt;
        unsigned seen = 0;
        readObject([&](const Token &key) {
            if (key.escaped)
                throw Unusual();
            // Reads the value into `field` unless it is null.
            const auto read = [&](unsigned bit, auto &field, auto(Reader::*value)()) {
                mark(seen, bit);
                if (!null())
                    field = (this->*value)();
            };
            switch (key.size) {
            case 2:
                if (key.is(QLatin1StringView("id")))
                    return read(1, id, &Reader::uuid);
                break;
            case 4:
                if (key.is(QLatin1StringView("name")))
                    return read(2, account.name, &Reader::text);
                if (key.is(QLatin1StringView("note")))
                    return read(4, account.note, &Reader::text);
                break;
            case 7:
                if (key.is(QLatin1StringView("resetAt")))
                    return read(8, account.resetAt, &Reader::date);
                break;
            case 8:
                if (key.is(QLatin1StringView("password")))
                    return read(16, account.password, &Reader::text);
                break;
            case 9:
                if (key.is(QLatin1StringView("serviceId")))
                    return read(32, serviceId, &Reader::uuid);
                if (key.is(QLatin1StringView("createdAt")))
                    return read(64, createdAt, &Reader::date);
                if (key.is(QLatin1StringView("startedAt")))
                    return read(128, account.startedAt, &Reader::date);
                break;
            case 10:
                if (key.is(QLatin1StringView("isArchived")))
                    return read(256, account.isArchived, &Reader::boolean);
                if (key.is(QLatin1StringView("archivedAt")))
                    return read(512, account.archivedAt, &Reader::date);
                break;
            case 11:
                if (key.is(QLatin1StringView("hasNoLimits")))
                    return read(1024, account.hasNoLimits, &Reader::boolean);
                break;
            }
            skipValue();
        });
        account.id = id.value_or(QUuid::createUuid());
        account.serviceId = serviceId.value_or(Service::systemID);
        account.createdAt = createdAt.value_or(m_readTime);
        return account;
    }

    // Strict: every key present with the right type; null is a wrong type.
    Service readService()
    {
        Service service;
        unsigned seen = 0;
        readObject([&](const Token &key) {
            if (key.escaped)
                throw Unusual();
            if (key.is(QLatin1StringView("id"))) {
                mark(seen, 1);
                service.id = uuid();
            } else if (key.is(QLatin1StringView("name"))) {
                mark(seen, 2);
                service.name = text();
            } else if (key.is(QLatin1StringView("createdAt"))) {
                mark(seen, 4);
                service.createdAt = date();
            } else if (key.is(QLatin1StringView("isSystem"))) {
                mark(seen, 8);
                service.isSystem = boolean();
            } else {
                skipValue();
            }
        });
        if (seen != 15)
            throw Unusual();
        return service;
    }

    AccountEvent readEvent()
    {
        AccountEvent event;
        unsigned seen = 0;
        readObject([&](const Token &key) {
            if (key.escaped)
                throw Unusual();
            if (key.is(QLatin1StringView("id"))) {
                mark(seen, 1);
                event.id = uuid();
            } else if (key.is(QLatin1StringView("accountId"))) {
                mark(seen, 2);
                event.accountId = uuid();
            } else if (key.is(QLatin1StringView("type"))) {
                mark(seen, 4);
                event.type = eventType();
            } else if (key.is(QLatin1StringView("timestamp"))) {
                mark(seen, 8);
                event.timestamp = date();
            } else if (key.is(QLatin1StringView("details"))) {
                mark(seen, 16);
                event.details = sharedText();
            } else {
                skipValue();
            }
        });
        if (seen != 31)
            throw Unusual();
        return event;
    }

    // The history repeats a few texts (the same actions, an account's name)
    // across a hundred thousand events: equal texts share one string.
    QString sharedText()
    {
        const char *const begin = m_p;
        QString value = text();
        const std::string_view raw(begin, size_t(m_p - begin));
        if (const auto found = m_sharedTexts.find(raw); found != m_sharedTexts.end())
            return found->second;
        if (m_sharedTexts.size() < kMaxSharedTexts)
            m_sharedTexts.emplace(raw, value);
        return value;
    }

    AccountEventType eventType()
    {
        const Token raw = string();
        const auto &names = eventTypeNames();
        const auto match = std::find_if(names.begin(), names.end(), [&](const QByteArray &name) {
            return !raw.escaped && raw.is(QLatin1StringView(name));
        });
        if (match == names.end())
            throw Unusual();
        return AccountEventType(match - names.begin());
    }

    static constexpr size_t kMaxSharedTexts = 8192;

    const char *m_p;
    const char *const m_end;
    const QDateTime m_readTime;
    // Keyed by the bytes in the file, which outlive the reader.
    std::unordered_map<std::string_view, QString> m_sharedTexts;
};

// What JsonCoding makes of the bytes: the definition the plain path follows.
Result<AccountsState> decodeThroughDocument(const QByteArray &bytes, const QDateTime &readTime)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isNull())
        return Error::make(Error::Kind::Decoding);
    const QJsonValue root = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    // An object with keys but none of the state's (a backup, a file of some
    // other program) is no state, even though each key may be missing.
    const QJsonObject object = document.object();
    if (!object.isEmpty() && !object.contains(QLatin1StringView("services"))
        && !object.contains(QLatin1StringView("accounts")) && !object.contains(QLatin1StringView("events")))
        return Error::make(Error::Kind::NotStateFile);
    if (auto state = JsonCoding::decodeState(root, readTime))
        return state;
    auto accounts = JsonCoding::decodeAccountList(root, readTime);
    if (!accounts)
        return accounts.error();
    return AccountsState{{}, std::move(accounts).value(), {}};
}

} // namespace

bool StateFile::write(QIODevice &device, const AccountsState &state)
{
    Output output(device);
    output.advance(put(output.room(2), "{\n"));
    putList(output, "    \"accounts\": [\n", state.accounts, putAccount);
    output.advance(put(output.room(2), ",\n"));
    putList(output, "    \"events\": [\n", state.events, putEvent);
    output.advance(put(output.room(2), ",\n"));
    putList(output, "    \"services\": [\n", state.services, putService);
    output.advance(put(output.room(3), "\n}\n"));
    return output.finish();
}

QByteArray StateFile::encode(const AccountsState &state)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer, state);
    return bytes;
}

std::optional<AccountsState> StateFile::decodePlain(const QByteArray &bytes, const QDateTime &readTime)
{
    try {
        return Reader(bytes, readTime).document();
    } catch (const Unusual &) {
        return std::nullopt;
    }
}

Result<AccountsState> StateFile::decode(const QByteArray &bytes, const QDateTime &readTime)
{
    if (auto state = decodePlain(bytes, readTime))
        return *std::move(state);
    return decodeThroughDocument(bytes, readTime);
}
