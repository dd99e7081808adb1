#include "JsonCoding.h"

#include <QJsonArray>

namespace {

Error decodingError()
{
    return Error::make(Error::Kind::Decoding);
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
qint64 daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = int(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(qint64 z, int &y, int &m, int &d)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = int(z - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(yoe + era * 400 + (m <= 2));
}

bool isLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

bool digits(QStringView text, qsizetype from, qsizetype count, int &out)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    out = value;
    return true;
}

// The value of an ASCII hexadecimal digit in either case, else -1.
int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    const char16_t lower = c | 0x20;
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

void appendPadded(QString &out, int value, int width)
{
    char buffer[8];
    for (int i = width - 1; i >= 0; --i) {
        buffer[i] = char('0' + value % 10);
        value /= 10;
    }
    out.append(QLatin1StringView(buffer, width));
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

QString JsonCoding::dateString(const QDateTime &date)
{
    const qint64 seconds = floorDiv(date.toMSecsSinceEpoch(), 1000);
    const qint64 days = floorDiv(seconds, 86400);
    const int secondOfDay = int(seconds - days * 86400);
    int y, m, d;
    civilFromDays(days, y, m, d);
    QString out;
    out.reserve(20);
    appendPadded(out, y, 4);
    out.append(QLatin1Char('-'));
    appendPadded(out, m, 2);
    out.append(QLatin1Char('-'));
    appendPadded(out, d, 2);
    out.append(QLatin1Char('T'));
    appendPadded(out, secondOfDay / 3600, 2);
    out.append(QLatin1Char(':'));
    appendPadded(out, secondOfDay / 60 % 60, 2);
    out.append(QLatin1Char(':'));
    appendPadded(out, secondOfDay % 60, 2);
    out.append(QLatin1Char('Z'));
    return out;
}

std::optional<QDateTime> JsonCoding::parseDate(QStringView text)
{
    // yyyy-MM-ddTHH:mm:ss followed by Z or ±hh:mm
    if (text.size() != 20 && text.size() != 25)
        return std::nullopt;
    int y, mo, d, h, mi, s;
    if (!digits(text, 0, 4, y) || text[4] != u'-' || !digits(text, 5, 2, mo) || text[7] != u'-'
        || !digits(text, 8, 2, d) || text[10] != u'T' || !digits(text, 11, 2, h) || text[13] != u':'
        || !digits(text, 14, 2, mi) || text[16] != u':' || !digits(text, 17, 2, s))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    int offsetSeconds = 0;
    if (text.size() == 20) {
        if (text[19] != u'Z')
            return std::nullopt;
    } else {
        int oh, om;
        const QChar sign = text[19];
        if ((sign != u'+' && sign != u'-') || !digits(text, 20, 2, oh) || text[22] != u':' || !digits(text, 23, 2, om)
            || oh > 23 || om > 59)
            return std::nullopt;
        offsetSeconds = (oh * 3600 + om * 60) * (sign == u'-' ? -1 : 1);
    }
    const qint64 seconds = daysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s - offsetSeconds;
    return QDateTime::fromMSecsSinceEpoch(seconds * 1000, Qt::UTC);
}

QString JsonCoding::uuidString(const QUuid &uuid)
{
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> JsonCoding::parseUuid(QStringView text)
{
    // Decoded by hand: a state file holds two identifiers per history entry.
    if (text.size() != 36 || text[8] != u'-' || text[13] != u'-' || text[18] != u'-' || text[23] != u'-')
        return std::nullopt;
    static constexpr int byteStarts[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    const char16_t *chars = text.utf16();
    quint8 bytes[16];
    for (int i = 0; i < 16; ++i) {
        const int high = hexDigit(chars[byteStarts[i]]);
        const int low = hexDigit(chars[byteStarts[i] + 1]);
        if ((high | low) < 0)
            return std::nullopt;
        bytes[i] = quint8(high << 4 | low);
    }
    return QUuid(quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 | bytes[3],
                 quint16(bytes[4] << 8 | bytes[5]), quint16(bytes[6] << 8 | bytes[7]), bytes[8], bytes[9], bytes[10],
                 bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
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
        || !readBool(object, QLatin1StringView("notificationsOnRestore"), preferences.notificationsOnRestore))
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
