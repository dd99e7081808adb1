#include "JsonCoding.h"

#include <QJsonArray>

#include <algorithm>
#include <array>
#include <chrono>
#include <type_traits>

namespace {

Error decodingError()
{
    return Error::make(Error::Kind::Decoding);
}

using std::chrono::sys_days;
using std::chrono::sys_seconds;

constexpr sys_seconds kEarliestDate = sys_days(std::chrono::year(0) / 1 / 1);
constexpr sys_seconds kLatestDate = sys_days(std::chrono::year(9999) / 12 / 31) + std::chrono::seconds(86399);

char *putTwoDigits(char *out, unsigned value)
{
    out[0] = char('0' + value / 10);
    out[1] = char('0' + value % 10);
    return out + 2;
}

// `count` ASCII digits from `from`; false at anything else.
template<typename Char>
bool digits(const Char *text, qsizetype from, qsizetype count, int &out)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const auto c = text[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    out = value;
    return true;
}

template<typename Char>
std::optional<QDateTime> parseDateText(const Char *text, qsizetype size)
{
    // yyyy-MM-ddTHH:mm:ss followed by Z or ±hh:mm
    if (size != 20 && size != 25)
        return std::nullopt;
    int y, mo, d, h, mi, s;
    if (!digits(text, 0, 4, y) || text[4] != '-' || !digits(text, 5, 2, mo) || text[7] != '-' || !digits(text, 8, 2, d)
        || text[10] != 'T' || !digits(text, 11, 2, h) || text[13] != ':' || !digits(text, 14, 2, mi) || text[16] != ':'
        || !digits(text, 17, 2, s))
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(unsigned(mo)),
                                           std::chrono::day(unsigned(d))};
    if (!date.ok() || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    std::chrono::seconds offset{0};
    if (size == 20) {
        if (text[19] != 'Z')
            return std::nullopt;
    } else {
        int oh, om;
        const auto sign = text[19];
        if ((sign != '+' && sign != '-') || !digits(text, 20, 2, oh) || text[22] != ':' || !digits(text, 23, 2, om)
            || oh > 23 || om > 59)
            return std::nullopt;
        offset = std::chrono::hours(oh) + std::chrono::minutes(om);
        if (sign == '-')
            offset = -offset;
    }
    const sys_seconds moment =
        sys_days(date) + std::chrono::hours(h) + std::chrono::minutes(mi) + std::chrono::seconds(s) - offset;
    return QDateTime::fromSecsSinceEpoch(moment.time_since_epoch().count(), Qt::UTC);
}

// Hexadecimal digits of either case by their Latin-1 code, -1 elsewhere.
constexpr auto kHexDigits = [] {
    std::array<qint8, 256> values{};
    for (int c = 0; c < 256; ++c)
        values[size_t(c)] = qint8(c >= '0' && c <= '9'       ? c - '0'
                                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                             : -1);
    return values;
}();

template<typename Char>
int hexDigit(Char c)
{
    const auto code = std::make_unsigned_t<Char>(c);
    return code < kHexDigits.size() ? kHexDigits[code] : -1;
}

// The digits are read here and only the bytes go to QUuid: QUuid::fromString
// reads one digit per call and takes more than twice as long, which with two
// ids per history entry was a tenth of loading a large state file.
template<typename Char>
std::optional<QUuid> parseUuidText(const Char *text, qsizetype size)
{
    // Where each byte's two digits start: 8-4-4-4-12 digits between hyphens.
    static constexpr qsizetype byteStarts[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    if (size != JsonCoding::uuidLength || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    char bytes[16];
    for (int i = 0; i < 16; ++i) {
        const int high = hexDigit(text[byteStarts[i]]);
        const int low = hexDigit(text[byteStarts[i] + 1]);
        if ((high | low) < 0)
            return std::nullopt;
        bytes[i] = char(high << 4 | low);
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes, sizeof bytes));
}

// Reads an optional key: absent and null both give `missing`.
bool isMissing(const QJsonValue &value)
{
    return value.isUndefined() || value.isNull();
}

bool readString(const QJsonObject &object, QLatin1StringView key, QString &out, bool &missing)
{
    const QJsonValue value = object.value(key);
    missing = isMissing(value);
    if (missing)
        return true;
    if (!value.isString())
        return false;
    out = value.toString();
    return true;
}

bool readBool(const QJsonObject &object, QLatin1StringView key, bool &out)
{
    const QJsonValue value = object.value(key);
    if (isMissing(value))
        return true;
    if (!value.isBool())
        return false;
    out = value.toBool();
    return true;
}

bool readOptionalDate(const QJsonObject &object, QLatin1StringView key, std::optional<QDateTime> &out)
{
    const QJsonValue value = object.value(key);
    if (isMissing(value))
        return true;
    if (!value.isString())
        return false;
    out = JsonCoding::parseDate(value.toString());
    return out.has_value();
}

bool readOptionalUuid(const QJsonObject &object, QLatin1StringView key, std::optional<QUuid> &out)
{
    const QJsonValue value = object.value(key);
    if (isMissing(value))
        return true;
    if (!value.isString())
        return false;
    out = JsonCoding::parseUuid(value.toString());
    return out.has_value();
}

bool requireString(const QJsonObject &object, QLatin1StringView key, QString &out)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return false;
    out = value.toString();
    return true;
}

template<typename T, typename Decode>
Result<QList<T>> decodeArray(const QJsonValue &value, Decode decode)
{
    if (isMissing(value))
        return QList<T>{};
    if (!value.isArray())
        return decodingError();
    const QJsonArray array = value.toArray();
    QList<T> list;
    list.reserve(array.size());
    for (const QJsonValue &element : array) {
        Result<T> item = decode(element);
        if (!item)
            return item.error();
        list.append(std::move(item).value());
    }
    return list;
}

} // namespace

char *JsonCoding::writeDate(char *out, const QDateTime &date)
{
    const sys_seconds moment =
        std::clamp(std::chrono::floor<std::chrono::seconds>(std::chrono::sys_time<std::chrono::milliseconds>(
                       std::chrono::milliseconds(date.toMSecsSinceEpoch()))),
                   kEarliestDate, kLatestDate);
    const sys_days day = std::chrono::floor<std::chrono::days>(moment);
    const std::chrono::year_month_day ymd(day);
    const std::chrono::hh_mm_ss time(moment - day);
    const unsigned year = unsigned(int(ymd.year()));
    out = putTwoDigits(out, year / 100);
    out = putTwoDigits(out, year % 100);
    *out++ = '-';
    out = putTwoDigits(out, unsigned(ymd.month()));
    *out++ = '-';
    out = putTwoDigits(out, unsigned(ymd.day()));
    *out++ = 'T';
    out = putTwoDigits(out, unsigned(time.hours().count()));
    *out++ = ':';
    out = putTwoDigits(out, unsigned(time.minutes().count()));
    *out++ = ':';
    out = putTwoDigits(out, unsigned(time.seconds().count()));
    *out++ = 'Z';
    return out;
}

QString JsonCoding::dateString(const QDateTime &date)
{
    char text[dateLength];
    writeDate(text, date);
    return QString::fromLatin1(text, dateLength);
}

std::optional<QDateTime> JsonCoding::parseDate(QStringView text)
{
    return parseDateText(text.utf16(), text.size());
}

std::optional<QDateTime> JsonCoding::parseDate(QLatin1StringView text)
{
    return parseDateText(text.data(), text.size());
}

// From QUuid's fields rather than its own text: QUuid::toByteArray allocates
// and formats every id, which was two thirds of writing a large state file.
char *JsonCoding::writeUuid(char *out, const QUuid &uuid)
{
    static constexpr char upperHex[] = "0123456789ABCDEF";
    const auto hex = [&out](quint64 value, int count) {
        for (int i = count - 1; i >= 0; --i, value >>= 4)
            out[i] = upperHex[value & 0xf];
        out += count;
    };
    quint64 node = 0;
    for (int i = 2; i < 8; ++i)
        node = node << 8 | uuid.data4[i];
    hex(uuid.data1, 8);
    *out++ = '-';
    hex(uuid.data2, 4);
    *out++ = '-';
    hex(uuid.data3, 4);
    *out++ = '-';
    hex(quint64(uuid.data4[0]) << 8 | uuid.data4[1], 4);
    *out++ = '-';
    hex(node, 12);
    return out;
}

QString JsonCoding::uuidString(const QUuid &uuid)
{
    char text[uuidLength];
    writeUuid(text, uuid);
    return QString::fromLatin1(text, uuidLength);
}

std::optional<QUuid> JsonCoding::parseUuid(QStringView text)
{
    return parseUuidText(text.utf16(), text.size());
}

std::optional<QUuid> JsonCoding::parseUuid(QLatin1StringView text)
{
    return parseUuidText(text.data(), text.size());
}

QJsonObject JsonCoding::encode(const Account &account)
{
    QJsonObject object{
        {QLatin1StringView("id"), uuidString(account.id)},
        {QLatin1StringView("serviceId"), uuidString(account.serviceId)},
        {QLatin1StringView("name"), account.name},
        {QLatin1StringView("note"), account.note},
        {QLatin1StringView("password"), account.password},
        {QLatin1StringView("createdAt"), dateString(account.createdAt)},
        {QLatin1StringView("isArchived"), account.isArchived},
        {QLatin1StringView("hasNoLimits"), account.hasNoLimits},
    };
    if (account.startedAt)
        object.insert(QLatin1StringView("startedAt"), dateString(*account.startedAt));
    if (account.resetAt)
        object.insert(QLatin1StringView("resetAt"), dateString(*account.resetAt));
    if (account.archivedAt)
        object.insert(QLatin1StringView("archivedAt"), dateString(*account.archivedAt));
    return object;
}

QJsonObject JsonCoding::encode(const Service &service)
{
    return QJsonObject{
        {QLatin1StringView("id"), uuidString(service.id)},
        {QLatin1StringView("name"), service.name},
        {QLatin1StringView("createdAt"), dateString(service.createdAt)},
        {QLatin1StringView("isSystem"), service.isSystem},
    };
}

QJsonObject JsonCoding::encode(const AccountEvent &event)
{
    return QJsonObject{
        {QLatin1StringView("id"), uuidString(event.id)},
        {QLatin1StringView("accountId"), uuidString(event.accountId)},
        {QLatin1StringView("type"), AccountEventTypes::rawValue(event.type)},
        {QLatin1StringView("timestamp"), dateString(event.timestamp)},
        {QLatin1StringView("details"), event.details},
    };
}

QJsonObject JsonCoding::encode(const AccountsState &state)
{
    QJsonArray services, accounts, events;
    for (const Service &service : state.services)
        services.append(encode(service));
    for (const Account &account : state.accounts)
        accounts.append(encode(account));
    for (const AccountEvent &event : state.events)
        events.append(encode(event));
    return QJsonObject{
        {QLatin1StringView("services"), services},
        {QLatin1StringView("accounts"), accounts},
        {QLatin1StringView("events"), events},
    };
}

QJsonObject JsonCoding::encode(const Preferences &preferences)
{
    QJsonObject object{
        {QLatin1StringView("appearanceMode"), AppearanceModes::rawValue(preferences.appearanceMode)},
        {QLatin1StringView("timerFormat"), TimerFormats::rawValue(preferences.timerFormat)},
        {QLatin1StringView("showSeconds"), preferences.showSeconds},
        {QLatin1StringView("autoLaunchAtStartup"), preferences.autoLaunchAtStartup},
        {QLatin1StringView("notificationsOnRestore"), preferences.notificationsOnRestore},
        {QLatin1StringView("keepRunningInBackground"), preferences.keepRunningInBackground},
    };
    if (preferences.timezoneIdentifier)
        object.insert(QLatin1StringView("timezoneIdentifier"), *preferences.timezoneIdentifier);
    return object;
}

Result<Account> JsonCoding::decodeAccount(const QJsonValue &value, const QDateTime &readTime)
{
    if (!value.isObject())
        return decodingError();
    const QJsonObject object = value.toObject();
    Account account;
    std::optional<QUuid> id, serviceId;
    std::optional<QDateTime> createdAt;
    bool missing = false;
    if (!readOptionalUuid(object, QLatin1StringView("id"), id)
        || !readOptionalUuid(object, QLatin1StringView("serviceId"), serviceId)
        || !readString(object, QLatin1StringView("name"), account.name, missing)
        || !readString(object, QLatin1StringView("note"), account.note, missing)
        || !readString(object, QLatin1StringView("password"), account.password, missing)
        || !readOptionalDate(object, QLatin1StringView("createdAt"), createdAt)
        || !readOptionalDate(object, QLatin1StringView("startedAt"), account.startedAt)
        || !readOptionalDate(object, QLatin1StringView("resetAt"), account.resetAt)
        || !readBool(object, QLatin1StringView("isArchived"), account.isArchived)
        || !readOptionalDate(object, QLatin1StringView("archivedAt"), account.archivedAt)
        || !readBool(object, QLatin1StringView("hasNoLimits"), account.hasNoLimits))
        return decodingError();
    account.id = id.value_or(QUuid::createUuid());
    account.serviceId = serviceId.value_or(Service::systemID);
    account.createdAt = createdAt.value_or(readTime);
    return account;
}

Result<Service> JsonCoding::decodeService(const QJsonValue &value)
{
    if (!value.isObject())
        return decodingError();
    const QJsonObject object = value.toObject();
    QString id, createdAt;
    Service service;
    const QJsonValue isSystem = object.value(QLatin1StringView("isSystem"));
    if (!requireString(object, QLatin1StringView("id"), id)
        || !requireString(object, QLatin1StringView("name"), service.name)
        || !requireString(object, QLatin1StringView("createdAt"), createdAt) || !isSystem.isBool())
        return decodingError();
    const auto uuid = parseUuid(id);
    const auto date = parseDate(createdAt);
    if (!uuid || !date)
        return decodingError();
    service.id = *uuid;
    service.createdAt = *date;
    service.isSystem = isSystem.toBool();
    return service;
}

Result<AccountEvent> JsonCoding::decodeEvent(const QJsonValue &value)
{
    if (!value.isObject())
        return decodingError();
    const QJsonObject object = value.toObject();
    QString id, accountId, type, timestamp;
    AccountEvent event;
    if (!requireString(object, QLatin1StringView("id"), id)
        || !requireString(object, QLatin1StringView("accountId"), accountId)
        || !requireString(object, QLatin1StringView("type"), type)
        || !requireString(object, QLatin1StringView("timestamp"), timestamp)
        || !requireString(object, QLatin1StringView("details"), event.details))
        return decodingError();
    const auto uuid = parseUuid(id);
    const auto account = parseUuid(accountId);
    const auto eventType = AccountEventTypes::fromRawValue(type);
    const auto date = parseDate(timestamp);
    if (!uuid || !account || !eventType || !date)
        return decodingError();
    event.id = *uuid;
    event.accountId = *account;
    event.type = *eventType;
    event.timestamp = *date;
    return event;
}

Result<QList<Account>> JsonCoding::decodeAccountList(const QJsonValue &value, const QDateTime &readTime)
{
    if (!value.isArray())
        return decodingError();
    return decodeArray<Account>(value, [&](const QJsonValue &v) { return decodeAccount(v, readTime); });
}

Result<AccountsState> JsonCoding::decodeState(const QJsonValue &value, const QDateTime &readTime)
{
    if (!value.isObject())
        return decodingError();
    const QJsonObject object = value.toObject();
    auto services = decodeArray<Service>(object.value(QLatin1StringView("services")), decodeService);
    if (!services)
        return services.error();
    auto accounts = decodeArray<Account>(object.value(QLatin1StringView("accounts")),
                                         [&](const QJsonValue &v) { return decodeAccount(v, readTime); });
    if (!accounts)
        return accounts.error();
    auto events = decodeArray<AccountEvent>(object.value(QLatin1StringView("events")), decodeEvent);
    if (!events)
        return events.error();
    return AccountsState{std::move(services).value(), std::move(accounts).value(), std::move(events).value()};
}

Result<Preferences> JsonCoding::decodePreferences(const QJsonValue &value)
{
    if (!value.isObject())
        return decodingError();
    const QJsonObject object = value.toObject();
    Preferences preferences;
    QString raw;
    bool missing = false;

    if (!readString(object, QLatin1StringView("appearanceMode"), raw, missing))
        return decodingError();
    if (!missing) {
        const auto mode = AppearanceModes::fromRawValue(raw);
        if (!mode)
            return decodingError();
        preferences.appearanceMode = *mode;
    }
    if (!readString(object, QLatin1StringView("timerFormat"), raw, missing))
        return decodingError();
    if (!missing) {
        const auto format = TimerFormats::fromRawValue(raw);
        if (!format)
            return decodingError();
        preferences.timerFormat = *format;
    }
    if (!readBool(object, QLatin1StringView("showSeconds"), preferences.showSeconds)
        || !readBool(object, QLatin1StringView("autoLaunchAtStartup"), preferences.autoLaunchAtStartup)
        || !readBool(object, QLatin1StringView("notificationsOnRestore"), preferences.notificationsOnRestore)
        || !readBool(object, QLatin1StringView("keepRunningInBackground"), preferences.keepRunningInBackground))
        return decodingError();

    if (!readString(object, QLatin1StringView("timezoneIdentifier"), raw, missing))
        return decodingError();
    if (!missing) {
        preferences.timezoneIdentifier = raw;
    } else {
        // The older key only has to be well-formed; its value is not carried over.
        QString legacy;
        if (!readString(object, QLatin1StringView("timezonePreference"), legacy, missing))
            return decodingError();
    }
    return preferences;
}
