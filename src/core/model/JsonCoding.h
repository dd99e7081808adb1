#pragma once

#include "AccountsState.h"
#include "Preferences.h"
#include "Result.h"

#include <QJsonObject>
#include <QJsonValue>

#include <optional>

// The JSON form of the records: the state file, the state inside a backup and
// the stored preferences all use it. Dates are ISO 8601 in UTC with whole
// seconds and "Z"; UUIDs are written upper-case.
namespace JsonCoding {

QString dateString(const QDateTime &date);
// Strict: whole seconds only (a fraction is rejected), "Z" or a "+hh:mm" offset.
std::optional<QDateTime> parseDate(QStringView text);

QString uuidString(const QUuid &uuid);
// The canonical 36-character hyphenated form, in either case.
std::optional<QUuid> parseUuid(QStringView text);

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
