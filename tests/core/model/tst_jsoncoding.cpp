#include "model/JsonCoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

namespace {

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs);
}

QJsonObject object(const char *json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray(json), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad test JSON: %s", json);
    return document.object();
}

const QDateTime kReadTime = utc("2026-05-01T08:00:00Z");

} // namespace

class TestJsonCoding : public QObject {
    Q_OBJECT

private slots:
    void dateIsWrittenInWholeUtcSeconds_data();
    void dateIsWrittenInWholeUtcSeconds();
    void dateParsing_data();
    void dateParsing();
    void uuids_data();
    void uuids();

    void accountRoundTrips();
    void accountDefaults_data();
    void accountDefaults();
    void accountRejectsWrongTypes_data();
    void accountRejectsWrongTypes();

    void systemServiceJson();
    void serviceAndEventAreStrict_data();
    void serviceAndEventAreStrict();
    void everyEventTypeRoundTrips();

    void stateDecoding_data();
    void stateDecoding();
    void accountListMustBeAnArray();

    void preferencesRoundTrip();
    void preferencesReading_data();
    void preferencesReading();
};

void TestJsonCoding::dateIsWrittenInWholeUtcSeconds_data()
{
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("fraction dropped") << utc("2026-03-02T14:05:09.750Z") << "2026-03-02T14:05:09Z";
    QTest::newRow("local time converted")
        << QDateTime(QDate(2026, 3, 2), QTime(17, 5, 9), QTimeZone(3 * 3600)) << "2026-03-02T14:05:09Z";
    QTest::newRow("epoch") << QDateTime::fromMSecsSinceEpoch(0, Qt::UTC) << "1970-01-01T00:00:00Z";
    // Truncation goes towards the past, also before the epoch.
    QTest::newRow("before epoch") << QDateTime::fromMSecsSinceEpoch(-500, Qt::UTC) << "1969-12-31T23:59:59Z";
    QTest::newRow("after year 9999") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC) << "9999-12-31T23:59:59Z";
}

void TestJsonCoding::dateIsWrittenInWholeUtcSeconds()
{
    QFETCH(QDateTime, date);
    QFETCH(QString, text);
    QCOMPARE(JsonCoding::dateString(date), text);
}

void TestJsonCoding::dateParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected"); // invalid: rejected
    QTest::newRow("Z") << "2026-03-02T14:05:09Z" << utc("2026-03-02T14:05:09Z");
    QTest::newRow("offset") << "2026-03-02T17:05:09+03:00" << utc("2026-03-02T14:05:09Z");
    QTest::newRow("negative offset") << "2026-03-02T09:05:09-05:00" << utc("2026-03-02T14:05:09Z");
    QTest::newRow("fraction") << "2026-03-02T14:05:09.250Z" << QDateTime();
    QTest::newRow("lower-case z") << "2026-03-02T14:05:09z" << QDateTime();
    QTest::newRow("no zone") << "2026-03-02T14:05:09" << QDateTime();
    QTest::newRow("space separator") << "2026-03-02 14:05:09Z" << QDateTime();
    QTest::newRow("29 February of a common year") << "2026-02-29T00:00:00Z" << QDateTime();
    QTest::newRow("hour 24") << "2026-03-02T24:00:00Z" << QDateTime();
    QTest::newRow("month 13") << "2026-13-02T14:05:09Z" << QDateTime();
    QTest::newRow("non-ASCII digit") << "2026-03-0٢T14:05:09Z" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
}

void TestJsonCoding::dateParsing()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    const auto parsed = JsonCoding::parseDate(text);
    QCOMPARE(parsed.has_value(), expected.isValid());
    if (parsed) {
        QCOMPARE(*parsed, expected);
        QCOMPARE(parsed->timeSpec(), Qt::UTC);
    }
}

void TestJsonCoding::uuids_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower case") << "6f1c2a7e-90ab-4cde-8f01-23456789abcd" << true;
    QTest::newRow("upper case") << "6F1C2A7E-90AB-4CDE-8F01-23456789ABCD" << true;
    QTest::newRow("braces") << "{6f1c2a7e-90ab-4cde-8f01-23456789abcd}" << false;
    QTest::newRow("no hyphens") << "6f1c2a7e90ab4cde8f0123456789abcd" << false;
    QTest::newRow("hyphen misplaced") << "6f1c2a7e9-0ab-4cde-8f01-23456789abcd" << false;
    QTest::newRow("not hex") << "6f1c2a7e-90ab-4cde-8f01-23456789abcg" << false;
    QTest::newRow("too short") << "6f1c2a7e-90ab-4cde-8f01-23456789abc" << false;
}

void TestJsonCoding::uuids()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const QUuid id(QStringLiteral("6f1c2a7e-90ab-4cde-8f01-23456789abcd"));
    QCOMPARE(JsonCoding::uuidString(id), QStringLiteral("6F1C2A7E-90AB-4CDE-8F01-23456789ABCD"));
    QCOMPARE(JsonCoding::parseUuid(text), accepted ? std::optional<QUuid>(id) : std::nullopt);
}

void TestJsonCoding::accountRoundTrips()
{
    Account account{QUuid::createUuid(),
                    QUuid::createUuid(),
                    QStringLiteral("Рабочий аккаунт"),
                    QStringLiteral("лимит \"GPT-4\"\nвторая строка"),
                    QStringLiteral("p@ss\\word"),
                    utc("2026-01-02T03:04:05Z"),
                    utc("2026-03-02T14:05:09Z"),
                    utc("2026-03-09T14:05:09Z"),
                    true,
                    utc("2026-03-03T00:00:00Z"),
                    true};
    QJsonObject json = JsonCoding::encode(account);
    QCOMPARE(json.keys(),
             QStringList({"archivedAt", "createdAt", "hasNoLimits", "id", "isArchived", "name", "note", "password",
                          "resetAt", "serviceId", "startedAt"}));
    QCOMPARE(JsonCoding::decodeAccount(json, kReadTime).value(), account);

    // Absent dates are left out, not written as null.
    account.startedAt.reset();
    account.resetAt.reset();
    account.archivedAt.reset();
    json = JsonCoding::encode(account);
    QCOMPARE(json.keys(),
             QStringList({"createdAt", "hasNoLimits", "id", "isArchived", "name", "note", "password", "serviceId"}));
    QCOMPARE(JsonCoding::decodeAccount(json, kReadTime).value(), account);
}

void TestJsonCoding::accountDefaults_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("name");
    QTest::newRow("only a name") << QByteArray(R"({"name": "Только имя"})") << "Только имя";
    QTest::newRow("null is missing") << QByteArray(R"({"id": null, "serviceId": null, "name": null, "note": null,
        "password": null, "createdAt": null, "startedAt": null, "resetAt": null, "isArchived": null,
        "archivedAt": null, "hasNoLimits": null})")
                                     << QString();
}

void TestJsonCoding::accountDefaults()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, name);
    const Account first = JsonCoding::decodeAccount(object(json.constData()), kReadTime).value();
    const Account second = JsonCoding::decodeAccount(object(json.constData()), kReadTime).value();
    QCOMPARE(first, (Account{first.id, Service::systemID, name, {}, {}, kReadTime, {}, {}, false, {}, false}));
    QVERIFY(!first.id.isNull() && first.id != second.id);
}

void TestJsonCoding::accountRejectsWrongTypes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("isArchived as string") << QByteArray(R"({"isArchived": "true"})");
    QTest::newRow("hasNoLimits as number") << QByteArray(R"({"hasNoLimits": 1})");
    QTest::newRow("name as number") << QByteArray(R"({"name": 5})");
    QTest::newRow("note as array") << QByteArray(R"({"note": []})");
    QTest::newRow("id not a UUID") << QByteArray(R"({"id": "abc"})");
    QTest::newRow("serviceId as object") << QByteArray(R"({"serviceId": {}})");
    QTest::newRow("createdAt with fraction") << QByteArray(R"({"createdAt": "2026-03-02T14:05:09.250Z"})");
    QTest::newRow("resetAt as seconds") << QByteArray(R"({"resetAt": 1772460309})");
    QTest::newRow("archivedAt as boolean") << QByteArray(R"({"archivedAt": false})");
}

void TestJsonCoding::accountRejectsWrongTypes()
{
    QFETCH(QByteArray, json);
    const QJsonObject account = object(json.constData());
    QVERIFY(!JsonCoding::decodeAccount(account, kReadTime).ok());
    const QJsonObject state{{"accounts", QJsonArray{object(R"({"name": "fine"})"), account}}};
    const auto decoded = JsonCoding::decodeState(state, kReadTime);
    QVERIFY(!decoded.ok());
    QCOMPARE(decoded.error().kind, Error::Kind::Decoding);
}

void TestJsonCoding::systemServiceJson()
{
    const QJsonObject json = JsonCoding::encode(Service::systemService());
    QCOMPARE(json, object(R"({"id": "00000000-0000-0000-0000-000000000001", "name": "Без сервиса",
        "createdAt": "1970-01-01T00:00:00Z", "isSystem": true})"));
    QCOMPARE(JsonCoding::decodeService(json).value(), Service::systemService());
}

void TestJsonCoding::serviceAndEventAreStrict_data()
{
    QTest::addColumn<bool>("isService");
    QTest::addColumn<QByteArray>("json");
    const QByteArray id = R"("id": "6F1C2A7E-90AB-4CDE-8F01-23456789ABCD")";
    const QByteArray service = id + R"(, "name": "Claude", "createdAt": "2026-01-01T00:00:00Z")";
    const QByteArray event = id + R"(, "accountId": "6F1C2A7E-90AB-4CDE-8F01-23456789ABCE",
        "timestamp": "2026-01-01T00:00:00Z")";
    QTest::newRow("service without isSystem") << true << "{" + service + "}";
    QTest::newRow("service with null isSystem") << true << "{" + service + R"(, "isSystem": null})";
    QTest::newRow("service with string isSystem") << true << "{" + service + R"(, "isSystem": "false"})";
    QTest::newRow("service without name")
        << true << "{" + id + R"(, "createdAt": "2026-01-01T00:00:00Z", "isSystem": false})";
    QTest::newRow("service with a fraction date")
        << true << "{" + id + R"(, "name": "x", "createdAt": "2026-01-01T00:00:00.5Z", "isSystem": false})";
    QTest::newRow("event of unknown type") << false << "{" + event + R"(, "details": "", "type": "renamed"})";
    QTest::newRow("event type in other case") << false << "{" + event + R"(, "details": "", "type": "Created"})";
    QTest::newRow("event without type") << false << "{" + event + R"(, "details": ""})";
    QTest::newRow("event with numeric details") << false << "{" + event + R"(, "type": "used", "details": 3})";
    QTest::newRow("event with bad account id") << false << "{" + id + R"(, "accountId": "none",
        "timestamp": "2026-01-01T00:00:00Z", "type": "used", "details": ""})";
    QTest::newRow("event as array") << false << QByteArray("[]");
}

void TestJsonCoding::serviceAndEventAreStrict()
{
    QFETCH(bool, isService);
    QFETCH(QByteArray, json);
    const QJsonDocument document = QJsonDocument::fromJson(json);
    QVERIFY(!document.isNull());
    const QJsonValue value = document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    QVERIFY(!(isService ? JsonCoding::decodeService(value).ok() : JsonCoding::decodeEvent(value).ok()));
    const QJsonObject state{{isService ? "services" : "events", QJsonArray{value}}};
    QVERIFY(!JsonCoding::decodeState(state, kReadTime).ok());
}

void TestJsonCoding::everyEventTypeRoundTrips()
{
    const QStringList raw{
        "created", "edited", "used", "manualResetAtSet", "timerReset", "archived", "restoredFromArchive", "deleted"};
    QCOMPARE(AccountEventTypes::allCases().size(), raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const AccountEvent event{QUuid::createUuid(), QUuid::createUuid(), AccountEventTypes::allCases()[i],
                                 utc("2026-03-02T14:05:09Z"), QStringLiteral("Запущен недельный отсчет")};
        const QJsonObject json = JsonCoding::encode(event);
        QCOMPARE(json.value("type").toString(), raw[i]);
        QCOMPARE(json.keys(), QStringList({"accountId", "details", "id", "timestamp", "type"}));
        QCOMPARE(JsonCoding::decodeEvent(json).value(), event);
    }
}

void TestJsonCoding::stateDecoding_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("ok"); // an empty state when read
    QTest::newRow("empty object") << QByteArray("{}") << true;
    QTest::newRow("null lists, unknown key")
        << QByteArray(R"({"services": null, "accounts": null, "events": null, "unknown": 1})") << true;
    // One bad record fails the whole state.
    QTest::newRow("accounts as object") << QByteArray(R"({"accounts": {}})") << false;
    QTest::newRow("services as string") << QByteArray(R"({"services": ""})") << false;
    QTest::newRow("account that is a string") << QByteArray(R"({"accounts": ["x"]})") << false;
    QTest::newRow("null account") << QByteArray(R"({"accounts": [null]})") << false;
}

void TestJsonCoding::stateDecoding()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, ok);
    const auto decoded = JsonCoding::decodeState(object(json.constData()), kReadTime);
    QCOMPARE(decoded.ok(), ok);
    if (ok) {
        QCOMPARE(decoded.value(), AccountsState{});
        QCOMPARE(JsonCoding::encode(decoded.value()), object(R"({"accounts": [], "events": [], "services": []})"));
    }
}

void TestJsonCoding::accountListMustBeAnArray()
{
    const auto list = JsonCoding::decodeAccountList(
        QJsonDocument::fromJson(R"([{"name": "a"}, {"name": "b", "serviceId": null}])").array(), kReadTime);
    QCOMPARE(list.value().size(), 2);
    QCOMPARE(list.value()[1].serviceId, Service::systemID);
    QVERIFY(!JsonCoding::decodeAccountList(object(R"({"accounts": []})"), kReadTime).ok());
    QVERIFY(!JsonCoding::decodeState(QJsonArray(), kReadTime).ok());
}

void TestJsonCoding::preferencesRoundTrip()
{
    const Preferences preferences{
        AppearanceMode::dark, TimerFormat::full, false, true, QStringLiteral("Europe/Moscow"), true};
    const QJsonObject json = JsonCoding::encode(preferences);
    QCOMPARE(json, object(R"({"appearanceMode": "dark", "timerFormat": "full", "showSeconds": false,
        "autoLaunchAtStartup": true, "timezoneIdentifier": "Europe/Moscow", "notificationsOnRestore": true})"));
    QCOMPARE(JsonCoding::decodePreferences(json).value(), preferences);

    const QJsonObject defaults = JsonCoding::encode(Preferences{});
    QVERIFY(!defaults.contains("timezoneIdentifier"));
    QCOMPARE(defaults.size(), 5);
    QCOMPARE(JsonCoding::decodePreferences(defaults).value(), Preferences{});
}

void TestJsonCoding::preferencesReading_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<std::optional<Preferences>>("expected"); // nullopt: rejected
    Preferences full;
    full.timerFormat = TimerFormat::full;
    Preferences unknownZone;
    unknownZone.timezoneIdentifier = QStringLiteral("Mars/Olympus_Mons");
    const std::optional<Preferences> rejected;
    QTest::newRow("empty") << QByteArray("{}") << std::optional(Preferences{});
    QTest::newRow("only the format") << QByteArray(R"({"timerFormat": "full"})") << std::optional(full);
    QTest::newRow("all null") << QByteArray(R"({"appearanceMode": null, "timerFormat": null, "showSeconds": null,
        "autoLaunchAtStartup": null, "timezoneIdentifier": null, "notificationsOnRestore": null})")
                              << std::optional(Preferences{});
    QTest::newRow("older zone key") << QByteArray(R"({"timezonePreference": "Europe/Moscow"})")
                                    << std::optional(Preferences{});
    QTest::newRow("unknown zone kept") << QByteArray(R"({"timezoneIdentifier": "Mars/Olympus_Mons"})")
                                       << std::optional(unknownZone);
    QTest::newRow("newer zone key wins") << QByteArray(
        R"({"timezoneIdentifier": "Mars/Olympus_Mons", "timezonePreference": 3})")
                                         << std::optional(unknownZone);
    QTest::newRow("unknown appearance") << QByteArray(R"({"appearanceMode": "sepia"})") << rejected;
    QTest::newRow("appearance in other case") << QByteArray(R"({"appearanceMode": "Dark"})") << rejected;
    QTest::newRow("unknown format") << QByteArray(R"({"timerFormat": "long"})") << rejected;
    QTest::newRow("showSeconds as string") << QByteArray(R"({"showSeconds": "yes"})") << rejected;
    QTest::newRow("zone as number") << QByteArray(R"({"timezoneIdentifier": 3})") << rejected;
    QTest::newRow("older zone key as number") << QByteArray(R"({"timezonePreference": 3})") << rejected;
}

void TestJsonCoding::preferencesReading()
{
    QFETCH(QByteArray, json);
    QFETCH(std::optional<Preferences>, expected);
    const auto decoded = JsonCoding::decodePreferences(object(json.constData()));
    QCOMPARE(decoded.ok(), expected.has_value());
    if (expected)
        QCOMPARE(decoded.value(), *expected);
}

QTEST_GUILESS_MAIN(TestJsonCoding)
#include "tst_jsoncoding.moc"
