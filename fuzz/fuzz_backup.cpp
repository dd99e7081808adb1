// Backup files on any bytes: the envelope and the sealed data through the
// decryptor, and the same bytes as a plaintext payload, which a mutated file
// seldom reaches past the authentication. A payload that decodes is encoded
// and decoded back unchanged.
#include "services/BackupPayloadCoding.h"
#include "services/CryptoSecureTransferService.h"

#include <QJsonDocument>
#include <QTimeZone>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QDateTime readTime = QDateTime::fromSecsSinceEpoch(1772460309, QTimeZone::utc());
    static const QString password = QStringLiteral("correct horse battery staple");
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    CryptoSecureTransferService service;
    (void)service.decrypt(bytes, password);

    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    const Result<BackupPayload> payload = BackupPayloadCoding::decode(document.object(), readTime);
    if (!payload)
        return 0;
    const Result<QJsonObject> encoded = BackupPayloadCoding::encode(payload.value());
    if (!encoded)
        return 0; // a date the file cannot carry, refused as it should be
    const Result<BackupPayload> again = BackupPayloadCoding::decode(encoded.value(), readTime);
    if (!again || !(again.value().state == payload.value().state)
        || !(again.value().preferences == payload.value().preferences))
        std::abort();
    return 0;
}
