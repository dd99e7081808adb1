#include "model/JsonCoding.h"
#include "persistence/StateFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// StateFile works on bytes for speed; QJsonDocument with JsonCoding is the
// definition it must match, byte for byte when writing and in every outcome
// when reading. The reading table also holds JsonCoding's rules for state files.

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

AccountsState sampleState(const QString &odd = tricky())
{
    const QUuid a = QUuid::createUuid();
    AccountsState state;
    state.services = {Service::systemService(),
                      Service{QUuid::createUuid(), QStringLiteral("ChatGPT"), utc(1767225600000), false},
                      Service{QUuid(), odd, utc(-1500), false}};
    state.accounts = {
        Account{a, state.services[1].id, QStringLiteral("ivan.petrov@gmail.com"), QStringLiteral("Plus, до 5-го"),
                QStringLiteral("p@ss\"w\\rd"), utc(1767225600750), utc(1772460309000), utc(1773065109000), true,
                utc(1772500000000), true},
        Account{QUuid::createUuid(), Service::systemID, odd, QString(), odd, utc(253402300799000), std::nullopt,
                std::nullopt, false, std::nullopt, false},
        Account{QUuid::createUuid(), QUuid(), QString(), QString(), QString(), QDateTime(), std::nullopt, utc(0), false,
                std::nullopt, false},
        // Beyond four-digit years the text is JsonCoding's own.
        Account{QUuid::createUuid(), Service::systemID, QStringLiteral("x"), QString(), QString(), utc(253402300800000),
                utc(-62167219201000), std::nullopt, false, std::nullopt, false},
    };
    for (AccountEventType type : AccountEventTypes::allCases())
        state.events.append(AccountEvent{QUuid::createUuid(), a, type, utc(1772460309999),
                                         QStringLiteral("Сервис изменен: ChatGPT → Claude")});
    state.events.append(AccountEvent{QUuid::createUuid(), a, AccountEventType::edited, utc(0), odd});
    return state;
}

} // namespace

class TestStateFile : public QObject {
    Q_OBJECT

private slots:
    void writesWhatQJsonDocumentWrites_data()
    {
        QTest::addColumn<AccountsState>("state");
        QTest::newRow("empty") << AccountsState{};
        QTest::newRow("sample") << sampleState();
    }

    void writesWhatQJsonDocumentWrites()
    {
        QFETCH(AccountsState, state);
        QCOMPARE(StateFile::encode(state), referenceBytes(state));
        QVERIFY(!StateFile::encode(state).contains("null")); // absent dates are left out
    }

    // Ordinary texts, from one byte to four in UTF-8, never take the slow path;
    // lone surrogates may.
    void readsWhatItWrites()
    {
        for (const QString &odd : {QStringLiteral("\"Лиза\" \\ 😀 € ￥ ߀\n\t"), tricky()}) {
            AccountsState state = sampleState(odd);
            state.accounts.removeLast(); // its years do not read back
            const QByteArray bytes = StateFile::encode(state);
            QCOMPARE(StateFile::decode(bytes, kReadTime).value(), referenceDecode(referenceBytes(state)).value());
            QCOMPARE(StateFile::decode(bytes, kReadTime).value().events.constLast(), state.events.constLast());
            QCOMPARE(StateFile::decodePlain(bytes, kReadTime).has_value(), odd != tricky());
        }
    }

    void readsLikeJsonCoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        const QByteArray id = "\"6F1C2A7E-90AB-4CDE-8F01-23456789ABCD\"";
        const QByteArray event = R"({"id": )" + id + R"(, "accountId": )" + id
            + R"(, "type": "used", "timestamp": "2026-03-02T14:05:09Z", "details": "x"})";
        const QByteArray service =
            R"({"id": )" + id + R"(, "name": "s", "createdAt": "2026-03-02T14:05:09Z", "isSystem": false})";
        const auto account = [&](const QByteArray &members) { return "[{\"id\": " + id + ", " + members + "}]"; };
        const auto events = [&](const QByteArray &from, const QByteArray &to) {
            return R"({"events": [)" + QByteArray(event).replace(from, to) + "]}";
        };
        const auto services = [&](const QByteArray &from, const QByteArray &to) {
            return R"({"services": [)" + QByteArray(service).replace(from, to) + "]}";
        };

        QTest::newRow("compact") << QByteArray(R"({"accounts":[],"events":[)" + event + R"(],"services":[)" + service
                                               + "]}")
                                 << true;
        QTest::newRow("tabs and CRLF") << QByteArray("\r\n{\t\"events\" :\r\n[ " + event + " ]\t}\r\n") << true;
        QTest::newRow("null lists") << QByteArray(R"({"accounts": null, "events": null, "services": null})") << true;
        QTest::newRow("unknown members") << QByteArray(R"({"version": 2, "extra": {"a": [true, false, null, "é",)"
                                                       R"( {"b": []}]}, "events": [)"
                                                       + event + "]}")
                                         << true;
        QTest::newRow("bare array") << account(R"("name": "a", "note": "b", "resetAt": "2026-03-02T14:05:09Z")")
                                    << true;
        QTest::newRow("date with an offset") << account(R"("createdAt": "2026-03-02T17:05:09+03:00")") << true;
        QTest::newRow("escapes") << account("\"name\": \"a\\\"b\\\\c\\/d\\b\\f\\n\\r\\t\\u00e9\\u0000\\u20AC\"")
                                 << true;
        QTest::newRow("surrogate pair escape") << account(R"("name": "\ud83d\ude00")") << true;
        QTest::newRow("unpaired surrogate escape") << account(R"("name": "\ud800")") << true;
        QTest::newRow("unknown escape") << account(R"("name": "\x")") << true;
        QTest::newRow("escaped key") << account(R"("n\u0061me": "a")") << true;
        QTest::newRow("raw control character") << account("\"name\": \"a\tb\"") << true;
        QTest::newRow("duplicate key, last valid") << account(R"("isArchived": "yes", "isArchived": true)") << true;
        QTest::newRow("duplicate key, last invalid") << account(R"("isArchived": true, "isArchived": "yes")") << false;
        QTest::newRow("duplicate list") << QByteArray(R"({"events": [1], "events": []})") << true;
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf{}") << true;
        QTest::newRow("number out of range") << account(R"("weight": 1e400)") << false;
        QTest::newRow("deep unknown value")
            << account("\"deep\": " + QByteArray(200, '[') + QByteArray(200, ']')) << true;

        // Accounts are lenient about missing keys, never about types.
        QTest::newRow("id not a UUID") << account(R"("id": "abc")") << false;
        QTest::newRow("not hexadecimal") << account(R"("serviceId": "6f1c2a7e-90ab-4cde-8f01-23456789abcg")") << false;
        QTest::newRow("serviceId as object") << account(R"("serviceId": {})") << false;
        QTest::newRow("name as number") << account(R"("name": 5)") << false;
        QTest::newRow("createdAt with a fraction") << account(R"("createdAt": "2026-03-02T14:05:09.250Z")") << false;
        QTest::newRow("resetAt as seconds") << account(R"("resetAt": 1772460309)") << false;
        QTest::newRow("isArchived as string") << account(R"("isArchived": "true")") << false;
        // Services and events are strict: every key, with its type.
        QTest::newRow("service without isSystem") << services(R"(, "isSystem": false)", "") << false;
        QTest::newRow("service with null isSystem") << services("false", "null") << false;
        QTest::newRow("event of unknown type") << events("used", "renamed") << false;
        QTest::newRow("event without type") << events(R"(, "type": "used")", "") << false;
        QTest::newRow("event with numeric details") << events("\"x\"", "3") << false;
        // One bad record fails the whole state.
        QTest::newRow("accounts as object") << QByteArray(R"({"accounts": {}})") << false;
        QTest::newRow("null account") << QByteArray(R"({"accounts": [null]})") << false;
        QTest::newRow("overlong UTF-8") << account("\"name\": \"\xc0\xaf\"") << false;
        QTest::newRow("UTF-8 surrogate") << account("\"name\": \"\xed\xa0\x80\"") << false;
        QTest::newRow("only spaces") << QByteArray("  \n") << false;
        // A JSON object that is not a state at all (a backup saved over it).
        QTest::newRow("a backup, not a state")
            << QByteArray(R"({"schemaVersion": 1, "saltBase64": "", "combinedBase64": ""})") << false;
        QTest::newRow("one state key among others") << QByteArray(R"({"schemaVersion": 1, "events": null})") << true;
        // Empty, truncated and cut files, trailing text: see readsDamagedFilesLikeJsonCoding.
    }

    void readsLikeJsonCoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        const auto expected = referenceDecode(bytes);
        QCOMPARE(expected.ok(), ok);
        const auto actual = StateFile::decode(bytes, kReadTime);
        QCOMPARE(actual.ok(), ok);
        if (ok)
            QCOMPARE(actual.value(), expected.value());
        else
            QCOMPARE(actual.error().kind, expected.error().kind);
    }

    void readsDamagedFilesLikeJsonCoding()
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

    // Accounts are lenient: missing and null keys take their defaults, and an
    // account without an id gets a fresh one on every read.
    void accountDefaults()
    {
        const QByteArray bytes = R"({"accounts": [{"name": "a"}, {"name": null, "id": null, "serviceId": null,)"
                                 R"( "note": null, "password": null, "createdAt": null, "startedAt": null,)"
                                 R"( "resetAt": null, "isArchived": null, "archivedAt": null, "hasNoLimits": null}]})";
        const auto first = StateFile::decode(bytes, kReadTime);
        const auto second = StateFile::decode(bytes, kReadTime);
        QCOMPARE(withoutAccountIds(first.value()), withoutAccountIds(referenceDecode(bytes).value()));
        const Account &a = first.value().accounts[0];
        QVERIFY(!a.id.isNull() && a.id != first.value().accounts[1].id && a.id != second.value().accounts[0].id);
    }
};

QTEST_GUILESS_MAIN(TestStateFile)
#include "tst_statefile.moc"
