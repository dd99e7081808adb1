#include "model/JsonCoding.h"
#include "persistence/StateFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

// StateFile works on bytes for speed; QJsonDocument with JsonCoding is the
// definition it must match, byte for byte when writing and in every outcome
// when reading.

namespace {

const QDateTime kReadTime = QDateTime::fromSecsSinceEpoch(1777000000, Qt::UTC);

QDateTime utc(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

QByteArray referenceBytes(const AccountsState &state)
{
    return QJsonDocument(JsonCoding::encode(state)).toJson(QJsonDocument::Indented);
}

Result<AccountsState> referenceDecode(const QByteArray &bytes)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isNull())
        return Error::make(Error::Kind::Decoding);
    const QJsonValue root = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    const QJsonObject object = document.object();
    if (!object.isEmpty() && !object.contains("services") && !object.contains("accounts") && !object.contains("events"))
        return Error::make(Error::Kind::NotStateFile);
    if (auto state = JsonCoding::decodeState(root, kReadTime))
        return state;
    auto accounts = JsonCoding::decodeAccountList(root, kReadTime);
    if (!accounts)
        return accounts.error();
    return AccountsState{{}, accounts.value(), {}};
}

// Accounts read without an id get a fresh random one on every read.
AccountsState withoutAccountIds(AccountsState state)
{
    for (Account &account : state.accounts)
        account.id = QUuid();
    return state;
}

QString tricky()
{
    QString text = QStringLiteral("\"кавычки\" \\ / \b\f\n\r\t \x7f é € 😀 \u2028 \uffff");
    for (char16_t c = 0; c < 0x20; ++c)
        text.append(QChar(c));
    text.append(QChar(0xd800)); // unpaired high surrogate
    text.append(QChar(u'x'));
    text.append(QChar(0xdc00)); // unpaired low surrogate
    text.append(QChar(0xdbff)); // high surrogate at the end
    return text;
}

AccountsState sampleState()
{
    const QUuid a = QUuid::createUuid();
    AccountsState state;
    state.services = {Service::systemService(),
                      Service{QUuid::createUuid(), QStringLiteral("ChatGPT"), utc(1767225600000), false},
                      Service{QUuid(), tricky(), utc(-1500), false}};
    state.accounts = {
        Account{a, state.services[1].id, QStringLiteral("ivan.petrov@gmail.com"), QStringLiteral("Plus, до 5-го"),
                QStringLiteral("p@ss\"w\\rd"), utc(1767225600750), utc(1772460309000), utc(1773065109000), true,
                utc(1772500000000), true},
        Account{QUuid::createUuid(), Service::systemID, tricky(), QString(), tricky(), utc(253402300799000),
                std::nullopt, std::nullopt, false, std::nullopt, false},
        Account{QUuid::createUuid(), QUuid(), QString(), QString(), QString(), QDateTime(), std::nullopt, utc(0), false,
                std::nullopt, false},
        // Beyond four-digit years the text is JsonCoding's own.
        Account{QUuid::createUuid(), Service::systemID, QStringLiteral("x"), QString(), QString(), utc(253402300800000),
                utc(-62167219201000), std::nullopt, false, std::nullopt, false},
    };
    for (AccountEventType type : AccountEventTypes::allCases())
        state.events.append(AccountEvent{QUuid::createUuid(), a, type, utc(1772460309999),
                                         QStringLiteral("Сервис изменен: ChatGPT → Claude")});
    state.events.append(AccountEvent{QUuid::createUuid(), a, AccountEventType::edited, utc(0), tricky()});
    return state;
}

} // namespace

class TestStateFile : public QObject {
    Q_OBJECT

private slots:
    void writesWhatQJsonDocumentWrites_data();
    void writesWhatQJsonDocumentWrites();
    void writesRandomTextLikeQJsonDocument();
    void readsWhatItWrites();
    void readsLikeJsonCoding_data();
    void readsLikeJsonCoding();
    void readsDamagedFilesLikeJsonCoding();
    void givesAccountsWithoutIdsFreshOnes();
};

void TestStateFile::writesWhatQJsonDocumentWrites_data()
{
    QTest::addColumn<AccountsState>("state");
    QTest::newRow("empty") << AccountsState{};
    AccountsState onlyEvents;
    onlyEvents.events = sampleState().events;
    QTest::newRow("only events") << onlyEvents;
    QTest::newRow("sample") << sampleState();
}

void TestStateFile::writesWhatQJsonDocumentWrites()
{
    QFETCH(AccountsState, state);
    QCOMPARE(StateFile::encode(state), referenceBytes(state));
}

void TestStateFile::writesRandomTextLikeQJsonDocument()
{
    // Random UTF-16, unpaired surrogates included, in every text field.
    QRandomGenerator random(7);
    const auto text = [&random] {
        QString value;
        const int length = random.bounded(12);
        for (int i = 0; i < length; ++i) {
            const int range = random.bounded(4);
            value.append(QChar(char16_t(range == 0       ? random.bounded(0x80)
                                            : range == 1 ? random.bounded(0x800)
                                            : range == 2 ? 0xd800 + random.bounded(0x800)
                                                         : random.bounded(0x10000))));
        }
        return value;
    };
    AccountsState state;
    for (int i = 0; i < 300; ++i) {
        state.services.append(Service{QUuid::createUuid(), text(), utc(random.bounded(1ll << 42)), i % 2 == 0});
        state.accounts.append(Account{QUuid::createUuid(), QUuid::createUuid(), text(), text(), text(),
                                      utc(random.bounded(1ll << 42) - (1ll << 41)), std::nullopt,
                                      utc(random.bounded(1ll << 42)), i % 3 == 0, std::nullopt, i % 5 == 0});
        state.events.append(AccountEvent{QUuid::createUuid(), QUuid::createUuid(), AccountEventType::used,
                                         utc(random.bounded(1ll << 42)), text()});
    }
    QCOMPARE(StateFile::encode(state), referenceBytes(state));
}

void TestStateFile::readsWhatItWrites()
{
    AccountsState state = sampleState();
    state.accounts.removeLast(); // its years do not read back
    const auto read = StateFile::decode(StateFile::encode(state), kReadTime);
    QVERIFY(read.ok());
    QCOMPARE(read.value(), referenceDecode(referenceBytes(state)).value());
    // Only the sub-second parts are lost.
    QCOMPARE(read.value().services.first(2), state.services.first(2));
    QCOMPARE(read.value().services[2].createdAt, utc(-2000));
    QCOMPARE(read.value().events.constLast(), state.events.constLast());
    QCOMPARE(read.value().accounts[0].createdAt, utc(1767225600000));
}

void TestStateFile::readsLikeJsonCoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray id = "\"6F1C2A7E-90AB-4CDE-8F01-23456789ABCD\"";
    const QByteArray event = R"({"id": )" + id + R"(, "accountId": )" + id
        + R"(, "type": "used", "timestamp": "2026-03-02T14:05:09Z", "details": "x"})";
    const QByteArray service =
        R"({"id": )" + id + R"(, "name": "s", "createdAt": "2026-03-02T14:05:09Z", "isSystem": false})";
    const auto account = [&](const QByteArray &members) { return "[{\"id\": " + id + ", " + members + "}]"; };

    QTest::newRow("compact") << QByteArray(R"({"accounts":[],"events":[)" + event + R"(],"services":[)" + service
                                           + "]}");
    QTest::newRow("tabs and CRLF") << QByteArray("\r\n{\t\"events\" :\r\n[ " + event + " ]\t}\r\n");
    QTest::newRow("empty object") << QByteArray("{}");
    QTest::newRow("null lists") << QByteArray(R"({"accounts": null, "events": null, "services": null})");
    QTest::newRow("unknown members") << QByteArray(
        R"({"version": 2, "extra": {"a": [true, false, null, "é", {"b": []}]}, "events": [)" + event + "]}");
    QTest::newRow("unknown member in a record")
        << QByteArray(R"({"services": [{"note": "x", )" + service.mid(1) + "]}");
    QTest::newRow("bare array") << account(R"("name": "a", "note": "b", "resetAt": "2026-03-02T14:05:09Z")");
    QTest::newRow("lower-case ids") << account(R"("serviceId": "6f1c2a7e-90ab-4cde-8f01-23456789abce")");
    QTest::newRow("null members") << account(R"("name": null, "resetAt": null, "isArchived": null, "serviceId": null)");
    QTest::newRow("date with an offset") << account(R"("createdAt": "2026-03-02T17:05:09+03:00")");
    QTest::newRow("empty array") << QByteArray("[]");
    QTest::newRow("escapes") << account(R"("name": "a\"b\\c\/d\b\f\n\r\t\u00e9\u0000\u20AC")");
    QTest::newRow("surrogate pair escape") << account(R"("name": "\ud83d\ude00")");
    QTest::newRow("unpaired surrogate escape") << account(R"("name": "\ud800")");
    QTest::newRow("unknown escape") << account(R"("name": "\x")");
    QTest::newRow("escaped key") << account(R"("n\u0061me": "a")");
    QTest::newRow("raw control character") << account("\"name\": \"a\tb\"");
    QTest::newRow("four-byte UTF-8") << account("\"name\": \"\xf0\x9f\x98\x80\"");
    QTest::newRow("noncharacter") << account("\"name\": \"\xef\xbf\xbf\"");
    QTest::newRow("duplicate key, last valid") << account(R"("isArchived": "yes", "isArchived": true)");
    QTest::newRow("duplicate key, last invalid") << account(R"("isArchived": true, "isArchived": "yes")");
    QTest::newRow("duplicate list") << QByteArray(R"({"events": [1], "events": []})");
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf{}");
    QTest::newRow("number in an unknown member") << account(R"("weight": -1.5e3)");
    QTest::newRow("number out of range") << account(R"("weight": 1e400)");
    QTest::newRow("deep unknown value") << account("\"deep\": " + QByteArray(200, '[') + QByteArray(200, ']'));

    QTest::newRow("wrong type") << account(R"("isArchived": "true")");
    QTest::newRow("fraction of a second") << account(R"("createdAt": "2026-03-02T14:05:09.250Z")");
    QTest::newRow("service without isSystem")
        << QByteArray(R"({"services": [)" + service.left(service.indexOf(", \"isSystem\"")) + "}]}");
    QTest::newRow("service with null name")
        << QByteArray(R"({"services": [)" + QByteArray(service).replace("\"s\"", "null") + "]}");
    QTest::newRow("unknown event type") << QByteArray(R"({"events": [)" + QByteArray(event).replace("used", "renamed")
                                                      + "]}");
    QTest::newRow("accounts as object") << QByteArray(R"({"accounts": {}})");
    QTest::newRow("overlong UTF-8") << account("\"name\": \"\xc0\xaf\"");
    QTest::newRow("UTF-8 surrogate") << account("\"name\": \"\xed\xa0\x80\"");
    QTest::newRow("top-level string") << QByteArray(R"("accounts")");
    QTest::newRow("top-level null") << QByteArray("null");
    QTest::newRow("only spaces") << QByteArray("  \n");
    QTest::newRow("a backup, not a state")
        << QByteArray(R"({"schemaVersion": 1, "saltBase64": "", "combinedBase64": ""})");
    QTest::newRow("one state key among others") << QByteArray(R"({"schemaVersion": 1, "events": null})");
    // Empty, truncated and cut files, trailing text: see readsDamagedFilesLikeJsonCoding.
}

void TestStateFile::readsLikeJsonCoding()
{
    QFETCH(QByteArray, bytes);
    const auto expected = referenceDecode(bytes);
    const auto actual = StateFile::decode(bytes, kReadTime);
    QCOMPARE(actual.ok(), expected.ok());
    if (expected.ok())
        QCOMPARE(actual.value(), expected.value());
    else
        QCOMPARE(actual.error().kind, expected.error().kind);
}

void TestStateFile::readsDamagedFilesLikeJsonCoding()
{
    // Every single-byte change, insertion and cut of a small file.
    AccountsState state = sampleState();
    state.services.resize(2);
    state.accounts.resize(1);
    state.events.resize(2);
    const QByteArray original = StateFile::encode(state);
    const QByteArray replacements("\"\\{}[],: n0\x01\x80\xc3\xff");
    int cases = 0;
    int readable = 0;
    const auto check = [&](const QByteArray &bytes) {
        const auto expected = referenceDecode(bytes);
        const auto actual = StateFile::decode(bytes, kReadTime);
        ++cases;
        readable += expected.ok();
        const bool same = actual.ok() == expected.ok()
            && (!expected.ok() || withoutAccountIds(actual.value()) == withoutAccountIds(expected.value()));
        if (!same)
            qWarning() << "differs on" << bytes;
        return same;
    };
    for (qsizetype at = 0; at < original.size(); ++at) {
        for (const char c : replacements) {
            QByteArray changed = original;
            changed[at] = c;
            QVERIFY(check(changed));
            QVERIFY(check(QByteArray(original).insert(at, c)));
        }
        QVERIFY(check(QByteArray(original).remove(at, 1)));
        QVERIFY(check(original.left(at)));
    }
    QVERIFY(readable > 0 && readable < cases);
}

void TestStateFile::givesAccountsWithoutIdsFreshOnes()
{
    const QByteArray bytes = R"({"accounts": [{"name": "a"}, {"name": "b", "id": null}]})";
    const auto first = StateFile::decode(bytes, kReadTime);
    const auto second = StateFile::decode(bytes, kReadTime);
    QVERIFY(first.ok() && second.ok());
    QCOMPARE(withoutAccountIds(first.value()), withoutAccountIds(referenceDecode(bytes).value()));
    QVERIFY(!first.value().accounts[0].id.isNull());
    QVERIFY(first.value().accounts[0].id != first.value().accounts[1].id);
    QVERIFY(first.value().accounts[0].id != second.value().accounts[0].id);
    QCOMPARE(first.value().accounts[0].createdAt, kReadTime);
}

QTEST_GUILESS_MAIN(TestStateFile)
#include "tst_statefile.moc"
