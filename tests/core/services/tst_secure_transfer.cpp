// The encrypted backup file. The independent sample files in tests/data/backup
// are read through the store's import (tst_store_backup).
#include "model/JsonCoding.h"
#include "services/BackupPayloadCoding.h"
#include "services/CryptoSecureTransferService.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <openssl/evp.h>

namespace {

QUuid uuid(const char *text)
{
    return QUuid::fromString(QLatin1StringView(text));
}

// Every date of the sample is `fraction` milliseconds past a whole second.
BackupPayload samplePayload(int fraction = 0, int schemaVersion = 1)
{
    auto at = [fraction](const char *text) {
        return JsonCoding::parseDate(QString::fromLatin1(text))->addMSecs(fraction);
    };
    const Service chat{uuid("5B8E2C1A-7D3F-4A9B-8C2E-1F0A3B4C5D6E"), QStringLiteral("ChatGPT"),
                       at("2025-11-01T09:00:00Z"), false};
    const Account account{uuid("1A2B3C4D-5E6F-4A1B-9C2D-3E4F5A6B7C8D"),
                          chat.id,
                          "work@example.com",
                          "Plus, лимит",
                          "s3cr3t \"quoted\" \\ пароль",
                          at("2025-11-02T10:00:00Z"),
                          at("2026-03-01T10:00:00Z"),
                          at("2026-03-08T10:00:00Z"),
                          true,
                          at("2026-03-02T10:00:00Z"),
                          false};
    const AccountEvent event{uuid("E0000005-0000-4000-8000-000000000005"), account.id, AccountEventType::used,
                             at("2026-03-01T10:00:00Z"), QStringLiteral("Запущен недельный отсчет")};
    return BackupPayload{
        schemaVersion, at("2026-03-02T14:05:09Z"), AccountsState{{Service::systemService(), chat}, {account}, {event}},
        Preferences{AppearanceMode::dark, TimerFormat::full, false, false, QStringLiteral("Europe/Moscow"), true}};
}

QByteArray compact(const QJsonValue &value)
{
    return value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                           : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
}

QByteArray with(QJsonObject object, const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    return compact(object);
}

const unsigned char *bytes(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

// Seals `plaintext` as the file format prescribes, without the service, so
// that tests can build files the service would never write.
QByteArray sealedFile(const QByteArray &plaintext, const QByteArray &salt = QByteArray(16, 's'),
                      int envelopeVersion = 1)
{
    const QByteArray key = QCryptographicHash::hash("pw" + salt, QCryptographicHash::Sha256);
    const QByteArray nonce = QByteArrayLiteral("twelve bytes");
    QByteArray ciphertext(plaintext.size(), Qt::Uninitialized);
    QByteArray tag(16, Qt::Uninitialized);
    EVP_CIPHER_CTX *context = EVP_CIPHER_CTX_new();
    int length = 0;
    EVP_EncryptInit_ex(context, EVP_aes_256_gcm(), nullptr, bytes(key), bytes(nonce));
    auto *out = reinterpret_cast<unsigned char *>(ciphertext.data());
    EVP_EncryptUpdate(context, out, &length, bytes(plaintext), int(plaintext.size()));
    EVP_EncryptFinal_ex(context, out + length, &length);
    EVP_CIPHER_CTX_ctrl(context, EVP_CTRL_GCM_GET_TAG, 16, tag.data());
    EVP_CIPHER_CTX_free(context);
    return compact(QJsonObject{{"schemaVersion", envelopeVersion},
                               {"saltBase64", QString::fromLatin1(salt.toBase64())},
                               {"combinedBase64", QString::fromLatin1((nonce + ciphertext + tag).toBase64())}});
}

QJsonObject envelopeOf(const QByteArray &file)
{
    return QJsonDocument::fromJson(file).object();
}

QByteArray base64Field(const QJsonObject &envelope, const QString &key)
{
    return QByteArray::fromBase64(envelope.value(key).toString().toLatin1());
}

} // namespace

class TestSecureTransfer : public QObject {
    Q_OBJECT

    CryptoSecureTransferService m_service;

private slots:
    // Dates lose their sub-second parts; the password is taken exactly as typed.
    void roundTrip()
    {
        for (const QString &password :
             {QStringLiteral("correct horse"), QString(), QStringLiteral("  пароль Ёлка №1 ")}) {
            const Result<QByteArray> file = m_service.encrypt(samplePayload(731), password);
            QCOMPARE(m_service.decrypt(file.value(), password).value(), samplePayload());
        }
    }

    void freshFileLayout()
    {
        const BackupPayload payload = samplePayload(0, 3);
        const QByteArray first = m_service.encrypt(payload, "pw").value();
        const QJsonObject envelope = envelopeOf(first);
        QCOMPARE(envelope.value("schemaVersion").toInt(), 3);
        const QByteArray combined = base64Field(envelope, "combinedBase64");
        QCOMPARE(base64Field(envelope, "saltBase64").size(), 16);
        QCOMPARE(combined.size(), compact(BackupPayloadCoding::encode(payload).value()).size() + 28);
        // A new salt and a new nonce every time.
        const QJsonObject other = envelopeOf(m_service.encrypt(payload, "pw").value());
        QVERIFY(base64Field(other, "saltBase64") != base64Field(envelope, "saltBase64"));
        QVERIFY(base64Field(other, "combinedBase64").first(12) != combined.first(12));
    }

    // What decrypting gives: the payload's schema version, or the error.
    void decrypting_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("schemaVersion"); // 0: the error below
        QTest::addColumn<Error::Kind>("kind");
        const auto json = Error::Kind::Decoding;
        const auto archive = Error::Kind::InvalidArchive;
        const auto password = Error::Kind::InvalidPassword;

        // Anything wrong after the key is derived is a wrong password.
        const QString secret = QStringLiteral("Пароль й");
        const QByteArray file = m_service.encrypt(samplePayload(), secret).value();
        QTest::newRow("right password") << file << secret << 1 << json;
        QTest::newRow("trailing space") << file << secret + ' ' << 0 << password;
        const QJsonObject valid = envelopeOf(file);
        const auto altered = [&](const QString &field, int at, int keep = -1) {
            QByteArray data = base64Field(valid, field);
            if (keep >= 0)
                data.truncate(keep);
            if (at != INT_MAX)
                data[at < 0 ? data.size() + at : at] ^= 0x01;
            return with(valid, field, QString::fromLatin1(data.toBase64()));
        };
        QTest::newRow("tag altered") << altered("combinedBase64", -1) << secret << 0 << password;
        QTest::newRow("salt altered") << altered("saltBase64", 5) << secret << 0 << password;
        QTest::newRow("cut to nonce and tag") << altered("combinedBase64", INT_MAX, 28) << secret << 0 << password;
        QTest::newRow("cut below") << altered("combinedBase64", INT_MAX, 27) << secret << 0 << password;

        // The envelope: JSON with three keys, strict Base64 in two of them.
        const QString salt = valid.value("saltBase64").toString();
        const QString combined = valid.value("combinedBase64").toString();
        QTest::newRow("not JSON") << QByteArray("{\"schemaVersion\":1,") << secret << 0 << json;
        for (const char *key : {"schemaVersion", "saltBase64", "combinedBase64"})
            QTest::addRow("no %s", key) << with(valid, key, QJsonValue::Undefined) << secret << 0 << json;
        QTest::newRow("schemaVersion text") << with(valid, "schemaVersion", "1") << secret << 0 << json;
        QTest::newRow("schemaVersion fraction") << with(valid, "schemaVersion", 1.5) << secret << 0 << json;
        QTest::newRow("schemaVersion too large") << with(valid, "schemaVersion", 3e9) << secret << 0 << json;
        QTest::newRow("salt null") << with(valid, "saltBase64", QJsonValue::Null) << secret << 0 << json;
        QTest::newRow("salt unpadded") << with(valid, "saltBase64", salt.chopped(2)) << secret << 0 << archive;
        QTest::newRow("salt url alphabet")
            << with(valid, "saltBase64", "ab-_ab-_ab-_ab-_ab-_aa==") << secret << 0 << archive;
        QTest::newRow("salt padding inside") << with(valid, "saltBase64", "QQ==QQ==") << secret << 0 << archive;
        QTest::newRow("salt three pads") << with(valid, "saltBase64", "Q===") << secret << 0 << archive;
        QTest::newRow("combined non-ASCII")
            << with(valid, "combinedBase64", "Ж" + combined.mid(1)) << secret << 0 << archive;
        QTest::newRow("combined wrapped")
            << with(valid, "combinedBase64", combined.left(76) + "\r\n" + combined.mid(76)) << secret << 0 << archive;
        QTest::newRow("combined empty") << with(valid, "combinedBase64", "") << secret << 0 << password;

        // The sealed text: a payload with every key; its state lenient, its dates strict.
        const QJsonObject base{{"schemaVersion", 1},
                               {"exportedAt", "2026-03-02T14:05:09Z"},
                               {"state", QJsonObject{}},
                               {"preferences", QJsonObject{}}};
        const QByteArray sixteen(16, 's');
        QTest::newRow("minimal payload") << sealedFile(compact(base)) << "pw" << 1 << json;
        QTest::newRow("schema version 7")
            << sealedFile(with(base, "schemaVersion", 7), sixteen, 7) << "pw" << 7 << json;
        QTest::newRow("five-byte salt") << sealedFile(compact(base), "salty") << "pw" << 1 << json;
        QTest::newRow("empty salt") << sealedFile(compact(base), {}) << "pw" << 1 << json;
        const QJsonObject nameOnly{{"accounts", QJsonArray{QJsonObject{{"name", "a"}}}}};
        QTest::newRow("lenient account") << sealedFile(with(base, "state", nameOnly)) << "pw" << 1 << json;
        QTest::newRow("not a payload") << sealedFile("schemaVersion: 1") << "pw" << 0 << password;
        QTest::newRow("array") << sealedFile(compact(QJsonArray{base})) << "pw" << 0 << password;
        for (const char *key : {"schemaVersion", "exportedAt", "state", "preferences"}) {
            QTest::addRow("no %s", key) << sealedFile(with(base, key, QJsonValue::Undefined)) << "pw" << 0 << password;
            QTest::addRow("%s null", key) << sealedFile(with(base, key, QJsonValue::Null)) << "pw" << 0 << password;
        }
        QTest::newRow("exportedAt fraction")
            << sealedFile(with(base, "exportedAt", "2026-03-02T14:05:09.5Z")) << "pw" << 0 << password;
        QTest::newRow("unknown appearance")
            << sealedFile(with(base, "preferences", QJsonObject{{"appearanceMode", "sepia"}})) << "pw" << 0 << password;
    }

    void decrypting()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, password);
        QFETCH(int, schemaVersion);
        QFETCH(Error::Kind, kind);
        const Result<BackupPayload> result = m_service.decrypt(file, password);
        QCOMPARE(result.ok(), schemaVersion != 0);
        if (!result.ok())
            QCOMPARE(result.error().kind, kind);
        else
            QCOMPARE(result.value().schemaVersion, schemaVersion);
    }

    // Dates outside the four-digit years cannot be written, in any record.
    void unwritableDateFailsToEncrypt()
    {
        const QDateTime late(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
        for (const auto &spoil : std::initializer_list<std::function<void(BackupPayload &)>>{
                 [&](BackupPayload &p) { p.exportedAt = late; },
                 [&](BackupPayload &p) { p.state.services[1].createdAt = late; },
                 [&](BackupPayload &p) { p.state.accounts[0].resetAt = late; },
                 [&](BackupPayload &p) { p.state.events[0].timestamp = late; }}) {
            BackupPayload payload = samplePayload();
            spoil(payload);
            QCOMPARE(m_service.encrypt(payload, "pw").error().kind, Error::Kind::Encoding);
        }
    }
};

QTEST_GUILESS_MAIN(TestSecureTransfer)
#include "tst_secure_transfer.moc"
