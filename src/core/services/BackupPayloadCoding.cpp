#include "BackupPayloadCoding.h"

#include "model/JsonCoding.h"

#include <limits>

namespace {

Error decodingError()
{
    return Error::make(Error::Kind::Decoding);
}

// 0000-01-01T00:00:00Z to 9999-12-31T23:59:59Z, the span of the date text.
constexpr qint64 firstWritableSecond = -62167219200;
constexpr qint64 lastWritableSecond = 253402300799;

bool isWritable(const QDateTime &date)
{
    if (!date.isValid())
        return false;
    const qint64 msecs = date.toMSecsSinceEpoch();
    const qint64 seconds = msecs / 1000 - (msecs % 1000 < 0);
    return seconds >= firstWritableSecond && seconds <= lastWritableSecond;
}

bool isWritable(const std::optional<QDateTime> &date)
{
    return !date || isWritable(*date);
}

bool datesAreWritable(const BackupPayload &payload)
{
    if (!isWritable(payload.exportedAt))
        return false;
    for (const Service &service : payload.state.services)
        if (!isWritable(service.createdAt))
            return false;
    for (const Account &account : payload.state.accounts)
        if (!isWritable(account.createdAt) || !isWritable(account.startedAt) || !isWritable(account.resetAt)
            || !isWritable(account.archivedAt))
            return false;
    for (const AccountEvent &event : payload.state.events)
        if (!isWritable(event.timestamp))
            return false;
    return true;
}

} // namespace

Result<QJsonObject> BackupPayloadCoding::encode(const BackupPayload &payload)
{
    if (!datesAreWritable(payload))
        return Error::make(Error::Kind::Encoding);
    return QJsonObject{
        {QLatin1StringView("schemaVersion"), payload.schemaVersion},
        {QLatin1StringView("exportedAt"), JsonCoding::dateString(payload.exportedAt)},
        {QLatin1StringView("state"), JsonCoding::encode(payload.state)},
        {QLatin1StringView("preferences"), JsonCoding::encode(payload.preferences)},
    };
}

Result<BackupPayload> BackupPayloadCoding::decode(const QJsonValue &value, const QDateTime &readTime)
{
    if (!value.isObject())
        return decodingError();
    const QJsonObject object = value.toObject();

    const std::optional<int> schemaVersion = decodeSchemaVersion(object.value(QLatin1StringView("schemaVersion")));
    const QJsonValue exportedAtValue = object.value(QLatin1StringView("exportedAt"));
    const std::optional<QDateTime> exportedAt =
        exportedAtValue.isString() ? JsonCoding::parseDate(exportedAtValue.toString()) : std::nullopt;
    if (!schemaVersion || !exportedAt)
        return decodingError();

    // decodeState and decodePreferences refuse anything but an object, so a
    // missing or null key fails here as well.
    Result<AccountsState> state = JsonCoding::decodeState(object.value(QLatin1StringView("state")), readTime);
    if (!state)
        return state.error();
    Result<Preferences> preferences = JsonCoding::decodePreferences(object.value(QLatin1StringView("preferences")));
    if (!preferences)
        return preferences.error();

    return BackupPayload{*schemaVersion, *exportedAt, std::move(state).value(), std::move(preferences).value()};
}

std::optional<int> BackupPayloadCoding::decodeSchemaVersion(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()
        || number != double(int(number)))
        return std::nullopt;
    return int(number);
}
