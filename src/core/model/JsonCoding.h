#pragma once

#include "AccountsState.h"
#include "Preferences.h"
#include "Result.h"

#include <QJsonObject>
#include <QJsonValue>

#include <array>
#include <optional>

// The JSON form of the records: the state file, the state inside a backup and
// the stored preferences all use it. Dates are ISO 8601 in UTC with whole
// seconds and "Z"; UUIDs are written upper-case.
namespace JsonCoding {

// The text forms of dates and UUIDs, as QStrings for QJsonDocument and as
// bytes for the state file's own reader and writer (the write functions put
// the characters at `out` and return their end).

// "2026-03-02T14:05:09Z": the fraction of a second is dropped (towards the
// past), years beyond 0000-9999 are clamped to that range.
constexpr qsizetype dateLength = 20;
QString dateString(const QDateTime &date);
char *writeDate(char *out, const QDateTime &date);
// Strict: whole seconds only (a fraction is rejected), "Z" or a "+hh:mm" offset.
std::optional<QDateTime> parseDate(QStringView text);
std::optional<QDateTime> parseDate(QLatin1StringView text);

// The canonical 36-character hyphenated form: upper-case when written, either
// case when read.
constexpr qsizetype uuidLength = 36;
QString uuidString(const QUuid &uuid);
char *writeUuid(char *out, const QUuid &uuid);
std::optional<QUuid> parseUuid(QStringView text);
std::optional<QUuid> parseUuid(QLatin1StringView text);

// Hexadecimal digits of either case by their Latin-1 code, -1 elsewhere: one
// table for the UUID reader and the state file's string reader.
inline constexpr std::array<qint8, 256> hexDigitValues = [] {
    std::array<qint8, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[size_t(c)] = qint8(c >= '0' && c <= '9'       ? c - '0'
                                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                             : -1);
    return values;
}();

QJsonObject encode(const Account &account);
QJsonObject encode(const Service &service);
QJsonObject encode(const AccountEvent &event);
QJsonObject encode(const AccountsState &state);
QJsonObject encode(const Preferences &preferences);

// Lenient: missing or null keys take their defaults. `readTime` is the
// createdAt of an account that has none.
Result<Account> decodeAccount(const QJsonValue &value, const QDateTime &readTime);
Result<AccountsState> decodeState(const QJsonValue &value, const QDateTime &readTime);
Result<QList<Account>> decodeAccountList(const QJsonValue &value, const QDateTime &readTime);
Result<Preferences> decodePreferences(const QJsonValue &value);

// Strict: every key present with the right type.
Result<Service> decodeService(const QJsonValue &value);
Result<AccountEvent> decodeEvent(const QJsonValue &value);

} // namespace JsonCoding
