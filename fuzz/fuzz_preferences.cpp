// The preferences record as the settings file holds it, on any bytes: it
// fails or gives preferences that are written and read back unchanged.
#include "model/JsonCoding.h"

#include <QJsonDocument>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<Preferences> preferences = JsonCoding::decodePreferences(QJsonDocument::fromJson(bytes).object());
    if (!preferences)
        return 0;
    const QByteArray written = QJsonDocument(JsonCoding::encode(preferences.value())).toJson(QJsonDocument::Compact);
    const Result<Preferences> again = JsonCoding::decodePreferences(QJsonDocument::fromJson(written).object());
    if (!again || !(again.value() == preferences.value()))
        std::abort();
    return 0;
}
