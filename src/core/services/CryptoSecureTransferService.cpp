#include "CryptoSecureTransferService.h"

#include "BackupPayloadCoding.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace {

constexpr qsizetype saltLength = 16;
constexpr qsizetype nonceLength = 12;
constexpr qsizetype tagLength = 16;
constexpr size_t keyLength = 32;

const QLatin1StringView schemaVersionKey("schemaVersion");
const QLatin1StringView saltKey("saltBase64");
const QLatin1StringView combinedKey("combinedBase64");

Error failure(Error::Kind kind)
{
    return Error::make(kind);
}

// Bytes that hold the password or the plaintext; overwritten before they are
// freed. Only buffers this code owns alone go in here, so that data() does not
// detach and wipe a copy instead.
struct SecretBytes {
    QByteArray bytes;

    ~SecretBytes()
    {
        if (!bytes.isEmpty())
            OPENSSL_cleanse(bytes.data(), size_t(bytes.size()));
    }
};

struct Key {
    std::array<unsigned char, keyLength> bytes{};

    ~Key() { OPENSSL_cleanse(bytes.data(), bytes.size()); }
};

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX *context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

struct DigestContextFree {
    void operator()(EVP_MD_CTX *context) const { EVP_MD_CTX_free(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextFree>;

unsigned char *bytesOf(QByteArray &array)
{
    return reinterpret_cast<unsigned char *>(array.data());
}

const unsigned char *bytesOf(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

// One SHA-256 pass over the password's UTF-8 bytes followed by the salt; the
// password is taken exactly as typed.
bool deriveKey(const QString &password, const QByteArray &salt, Key &key)
{
    const SecretBytes passwordBytes{password.toUtf8()};
    const DigestContext context(EVP_MD_CTX_new());
    unsigned int length = 0;
    return context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) == 1
        && EVP_DigestUpdate(context.get(), passwordBytes.bytes.constData(), size_t(passwordBytes.bytes.size())) == 1
        && EVP_DigestUpdate(context.get(), salt.constData(), size_t(salt.size())) == 1
        && EVP_DigestFinal_ex(context.get(), key.bytes.data(), &length) == 1 && length == keyLength;
}

// Nonce, ciphertext and tag in one buffer, as the file stores them.
std::optional<QByteArray> seal(const Key &key, const QByteArray &plaintext)
{
    if (plaintext.size() > std::numeric_limits<int>::max() - nonceLength - tagLength)
        return std::nullopt;
    QByteArray combined(nonceLength + plaintext.size() + tagLength, Qt::Uninitialized);
    unsigned char *nonce = bytesOf(combined);
    unsigned char *ciphertext = nonce + nonceLength;
    unsigned char *tag = ciphertext + plaintext.size();

    const CipherContext context(EVP_CIPHER_CTX_new());
    int length = 0;
    if (RAND_bytes(nonce, int(nonceLength)) != 1 || !context
        || EVP_EncryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, int(nonceLength), nullptr) != 1
        || EVP_EncryptInit_ex(context.get(), nullptr, nullptr, key.bytes.data(), nonce) != 1
        || EVP_EncryptUpdate(context.get(), ciphertext, &length, bytesOf(plaintext), int(plaintext.size())) != 1
        || EVP_EncryptFinal_ex(context.get(), ciphertext + length, &length) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, int(tagLength), tag) != 1)
        return std::nullopt;
    return combined;
}

// Decrypts and authenticates `combined`; false for data too short to hold a
// nonce and a tag, for a wrong key and for altered data alike.
bool open(const Key &key, const QByteArray &combined, SecretBytes &plaintext)
{
    const qsizetype ciphertextLength = combined.size() - nonceLength - tagLength;
    if (ciphertextLength < 0 || ciphertextLength > std::numeric_limits<int>::max())
        return false;
    const unsigned char *nonce = bytesOf(combined);
    const unsigned char *ciphertext = nonce + nonceLength;
    std::array<unsigned char, tagLength> tag;
    std::copy_n(ciphertext + ciphertextLength, tagLength, tag.begin());

    plaintext.bytes = QByteArray(ciphertextLength, Qt::Uninitialized);
    const CipherContext context(EVP_CIPHER_CTX_new());
    int length = 0;
    return context && EVP_DecryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1
        && EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, int(nonceLength), nullptr) == 1
        && EVP_DecryptInit_ex(context.get(), nullptr, nullptr, key.bytes.data(), nonce) == 1
        && EVP_DecryptUpdate(context.get(), bytesOf(plaintext.bytes), &length, ciphertext, int(ciphertextLength)) == 1
        && EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, int(tagLength), tag.data()) == 1
        && EVP_DecryptFinal_ex(context.get(), bytesOf(plaintext.bytes) + length, &length) == 1;
}

bool isBase64Letter(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'+' || c == u'/';
}

// Standard alphabet, a length that is a multiple of four and "=" only as the
// last one or two characters. Qt's own decoder lets some of these through.
std::optional<QByteArray> decodeBase64(const QString &text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    qsizetype end = text.size();
    while (end > 0 && text.size() - end < 2 && text[end - 1] == u'=')
        --end;
    for (qsizetype i = 0; i < end; ++i)
        if (!isBase64Letter(text[i].unicode()))
            return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return std::move(decoded.decoded);
}

struct EncryptedEnvelope {
    int schemaVersion = 0;
    QString saltBase64;
    QString combinedBase64;
};

Result<EncryptedEnvelope> decodeEnvelope(const QByteArray &bytes)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isObject())
        return failure(Error::Kind::Decoding);
    const QJsonObject object = document.object();
    const std::optional<int> schemaVersion = BackupPayloadCoding::decodeSchemaVersion(object.value(schemaVersionKey));
    const QJsonValue salt = object.value(saltKey);
    const QJsonValue combined = object.value(combinedKey);
    if (!schemaVersion || !salt.isString() || !combined.isString())
        return failure(Error::Kind::Decoding);
    return EncryptedEnvelope{*schemaVersion, salt.toString(), combined.toString()};
}

} // namespace

Result<QByteArray> CryptoSecureTransferService::encrypt(const BackupPayload &payload, const QString &password)
{
    const Result<QJsonObject> payloadObject = BackupPayloadCoding::encode(payload);
    if (!payloadObject)
        return payloadObject.error();
    const SecretBytes plaintext{QJsonDocument(payloadObject.value()).toJson(QJsonDocument::Compact)};

    QByteArray salt(saltLength, Qt::Uninitialized);
    Key key;
    if (RAND_bytes(bytesOf(salt), int(saltLength)) != 1 || !deriveKey(password, salt, key))
        return failure(Error::Kind::Crypto);
    const std::optional<QByteArray> combined = seal(key, plaintext.bytes);
    if (!combined)
        return failure(Error::Kind::Crypto);

    const QJsonObject envelope{
        {schemaVersionKey, payload.schemaVersion},
        {saltKey, QString::fromLatin1(salt.toBase64())},
        {combinedKey, QString::fromLatin1(combined->toBase64())},
    };
    return QJsonDocument(envelope).toJson(QJsonDocument::Compact);
}

Result<BackupPayload> CryptoSecureTransferService::decrypt(const QByteArray &bytes, const QString &password)
{
    const Result<EncryptedEnvelope> envelope = decodeEnvelope(bytes);
    if (!envelope)
        return envelope.error();
    const std::optional<QByteArray> salt = decodeBase64(envelope.value().saltBase64);
    if (!salt)
        return failure(Error::Kind::InvalidArchive);
    const std::optional<QByteArray> combined = decodeBase64(envelope.value().combinedBase64);
    if (!combined)
        return failure(Error::Kind::InvalidArchive);

    Key key;
    if (!deriveKey(password, *salt, key))
        return failure(Error::Kind::Crypto);
    SecretBytes plaintext;
    if (!open(key, *combined, plaintext))
        return failure(Error::Kind::InvalidPassword);

    // Authenticated text that is not a payload is reported as a wrong password
    // as well: the file is of no use with this password either way.
    const QJsonDocument document = QJsonDocument::fromJson(plaintext.bytes);
    if (!document.isObject())
        return failure(Error::Kind::InvalidPassword);
    Result<BackupPayload> payload = BackupPayloadCoding::decode(document.object(), QDateTime::currentDateTimeUtc());
    if (!payload)
        return failure(Error::Kind::InvalidPassword);
    return payload;
}
