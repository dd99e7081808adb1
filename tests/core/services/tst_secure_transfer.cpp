#include "model/JsonCoding.h"
#include "services/BackupPayloadCoding.h"
#include "services/CryptoSecureTransferService.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <openssl/evp.h>

#include <limits>
#include <map>

namespace {

const QString fixtureDir = QStringLiteral(TALLYPORT_TEST_DATA "/backup");
constexpr int noFlip = std::numeric_limits<int>::max();

QUuid uuid(const char *text)
{
    return QUuid::fromString(QLatin1StringView(text));
}

// Every date of the sample is `fraction` milliseconds past a whole second.
BackupPayload samplePayload(int fraction, int schemaVersion = 1)
{
    auto at = [fraction](const char *text) {
        return JsonCoding::parseDate(QString::fromLatin1(text))->addMSecs(fraction);
    };
    const Service chat{uuid("5B8E2C1A-7D3F-4A9B-8C2E-1F0A3B4C5D6E"), QStringLiteral("ChatGPT"),
                       at("2025-11-01T09:00:00Z"), false};
    const Account account{uuid("1A2B3C4D-5E6F-4A1B-9C2D-3E4F5A6B7C8D"),
                          chat.id,
                          QStringLiteral("work@example.com"),
                          QStringLiteral("Plus, лимит"),
                          QStringLiteral("s3cr3t \"quoted\" \\ пароль"),
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
QByteArray sealedFile(const QByteArray &plaintext, const QString &password, const QByteArray &salt,
                      int envelopeVersion = 1)
{
    const QByteArray key = QCryptographicHash::hash(password.toUtf8() + salt, QCryptographicHash::Sha256);
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

QJsonObject freshEnvelope(const QString &password)
{
    const QByteArray file = CryptoSecureTransferService().encrypt(samplePayload(0), password).value();
    return QJsonDocument::fromJson(file).object();
}

QByteArray base64Field(const QJsonObject &envelope, const QString &key)
{
    return QByteArray::fromBase64(envelope.value(key).toString().toLatin1());
}

} // namespace

class TestSecureTransfer : public QObject {
    Q_OBJECT

private slots:
    void fixtureFolderIsComplete();
    void fixtures_data();
    void fixtures();
    void roundTrip_data();
    void roundTrip();
    void freshFileLayout();
    void wrongPassword_data();
    void wrongPassword();
    void alteredFile_data();
    void alteredFile();
    void malformedEnvelope_data();
    void malformedEnvelope();
    void sealedText_data();
    void sealedText();
    void unwritableDateFailsToEncrypt();
    void importModeRawValues();

private:
    CryptoSecureTransferService m_service;
};

void TestSecureTransfer::fixtureFolderIsComplete()
{
    const QDir dir(fixtureDir);
    QVERIFY2(!dir.entryList({"*.json"}).isEmpty(), qPrintable(fixtureDir));
    for (const QString &sidecar : dir.entryList({"*.expect.json"})) {
        const QString fixture = sidecar.chopped(int(qstrlen(".expect.json"))) + ".json";
        QVERIFY2(dir.exists(fixture), qPrintable(sidecar + " has no " + fixture));
    }
}

void TestSecureTransfer::fixtures_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &file : QDir(fixtureDir).entryList({"*.json"}, QDir::Files, QDir::Name))
        if (!file.endsWith(".expect.json"))
            QTest::newRow(qPrintable(file)) << file.chopped(5);
}

void TestSecureTransfer::fixtures()
{
    QFETCH(QString, name);
    const QDir dir(fixtureDir);
    QVERIFY2(dir.exists(name + ".expect.json"), "every fixture needs a sidecar");
    QFile sidecar(dir.filePath(name + ".expect.json"));
    QFile file(dir.filePath(name + ".json"));
    QVERIFY(sidecar.open(QIODevice::ReadOnly) && file.open(QIODevice::ReadOnly));
    const QJsonObject expect = QJsonDocument::fromJson(sidecar.readAll()).object();

    const auto result = m_service.decrypt(file.readAll(), expect.value("password").toString());
    const QString outcome = expect.value("outcome").toString();
    if (outcome == "ok") {
        QVERIFY(result.ok());
        QCOMPARE(compact(BackupPayloadCoding::encode(result.value()).value()), compact(expect.value("payloadAsRead")));
    } else if (outcome == "error") {
        static const std::map<QString, Error::Kind> kinds{
            {"json", Error::Kind::Decoding},
            {"invalidArchive", Error::Kind::InvalidArchive},
            {"invalidPassword", Error::Kind::InvalidPassword},
        };
        const auto kind = kinds.find(expect.value("errorKind").toString());
        QVERIFY2(kind != kinds.end(), "unknown errorKind");
        QVERIFY(!result.ok());
        QCOMPARE(result.error().kind, kind->second);
    } else {
        QFAIL("unknown outcome");
    }
}

void TestSecureTransfer::roundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << "correct horse battery staple";
    QTest::newRow("empty password") << "";
    QTest::newRow("cyrillic") << "пароль Ёлка №1";
    QTest::newRow("spaces kept") << "  spaced  ";
}

void TestSecureTransfer::roundTrip()
{
    QFETCH(QString, password);
    const Result<QByteArray> file = m_service.encrypt(samplePayload(731), password);
    QVERIFY(file.ok());
    const Result<BackupPayload> payload = m_service.decrypt(file.value(), password);
    QVERIFY(payload.ok());
    QCOMPARE(payload.value(), samplePayload(0));
}

void TestSecureTransfer::freshFileLayout()
{
    const BackupPayload payload = samplePayload(0, 3);
    const QByteArray first = m_service.encrypt(payload, "pw").value();
    const QByteArray second = m_service.encrypt(payload, "pw").value();
    QVERIFY(!first.contains('\n'));

    const QJsonObject envelope = QJsonDocument::fromJson(first).object();
    QCOMPARE(envelope.keys(), QStringList({"combinedBase64", "saltBase64", "schemaVersion"}));
    QCOMPARE(envelope.value("schemaVersion").toInt(), 3);
    const QByteArray combined = base64Field(envelope, "combinedBase64");
    QCOMPARE(base64Field(envelope, "saltBase64").size(), 16);
    QCOMPARE(combined.size(), compact(BackupPayloadCoding::encode(payload).value()).size() + 28);

    // A new salt and a new nonce every time.
    const QJsonObject other = QJsonDocument::fromJson(second).object();
    QVERIFY(base64Field(other, "saltBase64") != base64Field(envelope, "saltBase64"));
    QVERIFY(base64Field(other, "combinedBase64").first(12) != combined.first(12));
}

void TestSecureTransfer::wrongPassword_data()
{
    const QString password = QStringLiteral("Пароль й");
    QTest::addColumn<QString>("attempt");
    QTest::newRow("other case") << password.toLower();
    QTest::newRow("trailing space") << password + ' ';
    QTest::newRow("decomposed") << password.normalized(QString::NormalizationForm_D);
    QTest::newRow("empty") << QString();
}

void TestSecureTransfer::wrongPassword()
{
    QFETCH(QString, attempt);
    const QByteArray file = m_service.encrypt(samplePayload(0), QStringLiteral("Пароль й")).value();
    const Result<BackupPayload> result = m_service.decrypt(file, attempt);
    QVERIFY(!result.ok());
    QCOMPARE(result.error().kind, Error::Kind::InvalidPassword);
}

void TestSecureTransfer::alteredFile_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("flipAt"); // negative: counted from the end
    QTest::addColumn<int>("keep");   // bytes left after cutting; -1: all
    QTest::newRow("nonce") << "combinedBase64" << 0 << -1;
    QTest::newRow("ciphertext") << "combinedBase64" << 40 << -1;
    QTest::newRow("tag") << "combinedBase64" << -1 << -1;
    QTest::newRow("salt") << "saltBase64" << 5 << -1;
    QTest::newRow("ciphertext cut to 28 bytes") << "combinedBase64" << noFlip << 28;
    QTest::newRow("27 bytes") << "combinedBase64" << noFlip << 27;
}

void TestSecureTransfer::alteredFile()
{
    QFETCH(QString, field);
    QFETCH(int, flipAt);
    QFETCH(int, keep);
    const QJsonObject envelope = freshEnvelope("pw");
    QByteArray data = base64Field(envelope, field);
    if (keep >= 0)
        data.truncate(keep);
    if (flipAt != noFlip) {
        const qsizetype at = flipAt < 0 ? data.size() + flipAt : flipAt;
        data[at] = char(data[at] ^ 0x01);
    }

    const auto result = m_service.decrypt(with(envelope, field, QString::fromLatin1(data.toBase64())), "pw");
    QVERIFY(!result.ok());
    QCOMPARE(result.error().kind, Error::Kind::InvalidPassword);
}

void TestSecureTransfer::malformedEnvelope_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Error::Kind>("kind");
    const QJsonObject valid = freshEnvelope("pw");
    const QString salt = valid.value("saltBase64").toString();
    // Empty file, array, salt line break and 20 sealed bytes: see the fixtures.
    const QString combined = valid.value("combinedBase64").toString();
    const auto json = Error::Kind::Decoding;
    const auto archive = Error::Kind::InvalidArchive;

    auto withSalt = [&](const QJsonValue &value) { return with(valid, "saltBase64", value); };
    auto withCombined = [&](const QJsonValue &value) { return with(valid, "combinedBase64", value); };

    QTest::newRow("not JSON") << QByteArray("{\"schemaVersion\":1,") << json;
    for (const char *key : {"schemaVersion", "saltBase64", "combinedBase64"})
        QTest::addRow("no %s", key) << with(valid, key, QJsonValue::Undefined) << json;
    QTest::newRow("schemaVersion text") << with(valid, "schemaVersion", "1") << json;
    QTest::newRow("schemaVersion fraction") << with(valid, "schemaVersion", 1.5) << json;
    QTest::newRow("salt null") << withSalt(QJsonValue::Null) << json;

    QTest::newRow("salt unpadded") << withSalt(salt.chopped(2)) << archive;
    QTest::newRow("salt url alphabet") << withSalt("ab-_ab-_ab-_ab-_ab-_aa==") << archive;
    QTest::newRow("salt padding inside") << withSalt("QQ==QQ==") << archive;
    QTest::newRow("combined non-ASCII") << withCombined("Ж" + combined.mid(1)) << archive;
    QTest::newRow("combined wrapped") << withCombined(combined.left(76) + "\r\n" + combined.mid(76)) << archive;
    QTest::newRow("combined empty") << withCombined("") << Error::Kind::InvalidPassword;
}

void TestSecureTransfer::malformedEnvelope()
{
    QFETCH(QByteArray, file);
    QFETCH(Error::Kind, kind);
    const Result<BackupPayload> result = m_service.decrypt(file, "pw");
    QVERIFY(!result.ok());
    QCOMPARE(result.error().kind, kind);
}

void TestSecureTransfer::sealedText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("schemaVersion"); // 0: the text must be refused
    const QJsonObject base{{"schemaVersion", 1},
                           {"exportedAt", "2026-03-02T14:05:09Z"},
                           {"state", QJsonObject{}},
                           {"preferences", QJsonObject{}}};
    const QByteArray salt(16, 's');
    auto sealed = [&](const QByteArray &text) { return sealedFile(text, "pw", salt); };

    QTest::newRow("minimal payload") << sealed(compact(base)) << 1;
    QTest::newRow("schema version 7") << sealedFile(with(base, "schemaVersion", 7), "pw", salt, 7) << 7;
    QTest::newRow("envelope version differs") << sealedFile(compact(base), "pw", salt, 42) << 1;
    QTest::newRow("five-byte salt") << sealedFile(compact(base), "pw", "salty") << 1;
    QTest::newRow("empty salt") << sealedFile(compact(base), "pw", {}) << 1;
    const QJsonObject nameOnly{{"accounts", QJsonArray{QJsonObject{{"name", "a"}}}}};
    QTest::newRow("lenient account") << sealed(with(base, "state", nameOnly)) << 1;

    QTest::newRow("not JSON") << sealed("schemaVersion: 1") << 0;
    QTest::newRow("array") << sealed(compact(QJsonArray{base})) << 0;
    for (const char *key : {"schemaVersion", "exportedAt", "state", "preferences"}) {
        QTest::addRow("no %s", key) << sealed(with(base, key, QJsonValue::Undefined)) << 0;
        QTest::addRow("%s null", key) << sealed(with(base, key, QJsonValue::Null)) << 0;
    }
    QTest::newRow("schemaVersion text") << sealed(with(base, "schemaVersion", "1")) << 0;
    QTest::newRow("exportedAt fraction") << sealed(with(base, "exportedAt", "2026-03-02T14:05:09.5Z")) << 0;
    QTest::newRow("unknown appearance") << sealed(with(base, "preferences", QJsonObject{{"appearanceMode", "sepia"}}))
                                        << 0;
}

void TestSecureTransfer::sealedText()
{
    QFETCH(QByteArray, file);
    QFETCH(int, schemaVersion);
    const Result<BackupPayload> result = m_service.decrypt(file, "pw");
    if (schemaVersion == 0) {
        QVERIFY(!result.ok());
        QCOMPARE(result.error().kind, Error::Kind::InvalidPassword);
        return;
    }
    QVERIFY(result.ok());
    QCOMPARE(result.value().schemaVersion, schemaVersion);
    QCOMPARE(result.value().exportedAt, *JsonCoding::parseDate(u"2026-03-02T14:05:09Z"));
}

void TestSecureTransfer::unwritableDateFailsToEncrypt()
{
    BackupPayload payload = samplePayload(0);
    payload.exportedAt = QDateTime();
    QCOMPARE(m_service.encrypt(payload, "pw").error().kind, Error::Kind::Encoding);

    payload = samplePayload(0);
    payload.state.accounts[0].resetAt = QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    QCOMPARE(m_service.encrypt(payload, "pw").error().kind, Error::Kind::Encoding);
}

void TestSecureTransfer::importModeRawValues()
{
    for (BackupImportMode mode : {BackupImportMode::replace, BackupImportMode::merge})
        QCOMPARE(BackupImportModes::fromRawValue(BackupImportModes::rawValue(mode)), mode);
    QCOMPARE(BackupImportModes::rawValue(BackupImportMode::merge), QStringLiteral("merge"));
    QCOMPARE(BackupImportModes::fromRawValue(u"Replace"), std::nullopt);
}

QTEST_GUILESS_MAIN(TestSecureTransfer)
#include "tst_secure_transfer.moc"
