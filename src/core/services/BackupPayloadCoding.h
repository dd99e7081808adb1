#pragma once

#include "SecureTransferService.h"

#include <QJsonObject>
#include <QJsonValue>

#include <optional>

// The JSON form of a backup's plaintext: "schemaVersion", "exportedAt",
// "state" and "preferences", dates as in the state file.
namespace BackupPayloadCoding {

// Fails with Encoding when a date could not be written in the four-digit-year
// form the reader accepts (an invalid QDateTime included).
Result<QJsonObject> encode(const BackupPayload &payload);

// All four keys are required; inside "state" and "preferences" the lenient
// record rules apply. `readTime` is the createdAt of an account that has none.
Result<BackupPayload> decode(const QJsonValue &value, const QDateTime &readTime);

// "schemaVersion" as both the payload and the file envelope carry it: a JSON
// number with no fraction that fits an int.
std::optional<int> decodeSchemaVersion(const QJsonValue &value);

} // namespace BackupPayloadCoding
