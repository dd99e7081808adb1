// Dates, identifiers, records and preferences in their JSON form. Which state
// files are accepted is tested with the state-file reader (tst_statefile).
#include "model/JsonCoding.h"

#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

namespace {

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs);
}

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

const QDateTime kReadTime = utc("2026-05-01T08:00:00Z");

} // namespace

class TestJsonCoding : public QObject {
    Q_OBJECT

private slots:
    void dateIsWrittenInWholeUtcSeconds_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("fraction dropped") << utc("2026-03-02T14:05:09.750Z") << "2026-03-02T14:05:09Z";
        QTest::newRow("local time converted")
            << QDateTime(QDate(2026, 3, 2), QTime(17, 5, 9), QTimeZone(3 * 3600)) << "2026-03-02T14:05:09Z";
        // Truncation goes towards the past, also before the epoch.
        QTest::newRow("before epoch") << QDateTime::fromMSecsSinceEpoch(-500, Qt::UTC) << "1969-12-31T23:59:59Z";
        QTest::newRow("after year 9999") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC)
                                         << "9999-12-31T23:59:59Z";
    }

    void dateIsWrittenInWholeUtcSeconds()
    {
        QFETCH(QDateTime, date);
        QFETCH(QString, text);
        QCOMPARE(JsonCoding::dateString(date), text);
    }

    // Every day of four years around a leap day of a 400th year, at the first
    // and the last second: written in UTC and read back as Qt reads the text.
    void datesRoundTrip()
    {
        for (QDate day(1999, 12, 1); day < QDate(2004, 1, 1); day = day.addDays(1)) {
            for (const QTime time : {QTime(0, 0), QTime(23, 59, 59)}) {
                const QDateTime date(day, time, Qt::UTC);
                const QString text = JsonCoding::dateString(date);
                QCOMPARE(text, date.toString(Qt::ISODate));
                QCOMPARE(JsonCoding::parseDate(text), std::optional(date));
            }
        }
    }

    // Whole seconds, then "Z" or an offset; nothing else. Identifiers are
    // checked with the state-file reader.
    void dateParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: rejected
        QTest::newRow("offset into the previous year") << "2026-01-01T00:00:00+03:00" << utc("2025-12-31T21:00:00Z");
        QTest::newRow("negative offset") << "2026-12-31T09:05:09-05:00" << utc("2026-12-31T14:05:09Z");
        QTest::newRow("largest offset") << "2026-03-02T23:59:00+23:59" << utc("2026-03-02T00:00:00Z");
        QTest::newRow("lower-case z") << "2026-03-02T14:05:09z" << QDateTime();
        QTest::newRow("space separator") << "2026-03-02 14:05:09Z" << QDateTime();
        QTest::newRow("29 February of a common year") << "2026-02-29T00:00:00Z" << QDateTime();
        QTest::newRow("29 February of a 100th year") << "1900-02-29T00:00:00Z" << QDateTime();
        QTest::newRow("31 April") << "2026-04-31T00:00:00Z" << QDateTime();
        QTest::newRow("month 13") << "2026-13-02T14:05:09Z" << QDateTime();
        QTest::newRow("hour 24") << "2026-03-02T24:00:00Z" << QDateTime();
        QTest::newRow("second 60") << "2026-03-02T14:05:60Z" << QDateTime();
        QTest::newRow("offset hour 24") << "2026-03-02T14:05:09+24:00" << QDateTime();
        QTest::newRow("offset without colon") << "2026-03-02T14:05:09+03-00" << QDateTime();
        QTest::newRow("offset without sign") << "2026-03-02T14:05:09 03:00" << QDateTime();
        QTest::newRow("non-ASCII digit") << "2026-03-0٢T14:05:09Z" << QDateTime();
        QTest::newRow("empty") << "" << QDateTime();
    }

    void dateParsing()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const auto parsed = JsonCoding::parseDate(text);
        QCOMPARE(parsed.has_value(), expected.isValid());
        if (parsed)
            QCOMPARE(*parsed, expected);
    }

    void preferencesReading_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<Preferences>>("expected"); // nullopt: rejected
        const auto changed = [](auto change) {
            Preferences preferences;
            change(preferences);
            return std::optional(preferences);
        };
        const std::optional<Preferences> rejected;
        QTest::newRow("empty") << QByteArray("{}") << std::optional(Preferences{});
        QTest::newRow("every key") << QByteArray(
            R"({"appearanceMode": "dark", "timerFormat": "full", "showSeconds": false,)"
            R"( "autoLaunchAtStartup": true, "timezoneIdentifier": "Europe/Moscow", "notificationsOnRestore": true,)"
            R"( "keepRunningInBackground": true})")
                                   << std::optional(Preferences{AppearanceMode::dark, TimerFormat::full, false, true,
                                                                QStringLiteral("Europe/Moscow"), true});
        QTest::newRow("only the format") << QByteArray(R"({"timerFormat": "full"})")
                                         << changed([](Preferences &p) { p.timerFormat = TimerFormat::full; });
        QTest::newRow("all null") << QByteArray(
            R"({"appearanceMode": null, "timerFormat": null, "showSeconds": null,)"
            R"( "autoLaunchAtStartup": null, "timezoneIdentifier": null, "notificationsOnRestore": null})")
                                  << std::optional(Preferences{});
        QTest::newRow("closing quits") << QByteArray(R"({"keepRunningInBackground": false})")
                                       << changed([](Preferences &p) { p.keepRunningInBackground = false; });
        QTest::newRow("older zone key not carried over")
            << QByteArray(R"({"timezonePreference": "Europe/Moscow"})") << std::optional(Preferences{});
        QTest::newRow("newer zone key wins, unknown zone kept")
            << QByteArray(R"({"timezoneIdentifier": "Mars/Olympus_Mons", "timezonePreference": 3})")
            << changed([](Preferences &p) { p.timezoneIdentifier = QStringLiteral("Mars/Olympus_Mons"); });
        QTest::newRow("appearance in other case") << QByteArray(R"({"appearanceMode": "Dark"})") << rejected;
        QTest::newRow("unknown format") << QByteArray(R"({"timerFormat": "long"})") << rejected;
        QTest::newRow("showSeconds as string") << QByteArray(R"({"showSeconds": "yes"})") << rejected;
        QTest::newRow("notifications as number") << QByteArray(R"({"notificationsOnRestore": 1})") << rejected;
        QTest::newRow("background as string") << QByteArray(R"({"keepRunningInBackground": "no"})") << rejected;
        QTest::newRow("zone as number") << QByteArray(R"({"timezoneIdentifier": 3})") << rejected;
        QTest::newRow("older zone key as number") << QByteArray(R"({"timezonePreference": 3})") << rejected;
    }

    void preferencesReading()
    {
        QFETCH(QByteArray, json);
        QFETCH(std::optional<Preferences>, expected);
        const auto decoded = JsonCoding::decodePreferences(object(json));
        QCOMPARE(decoded.ok(), expected.has_value());
        if (!expected)
            return;
        QCOMPARE(decoded.value(), *expected);
        // Written back, only the zone is left out when absent.
        const QJsonObject written = JsonCoding::encode(*expected);
        QCOMPARE(written.contains("timezoneIdentifier"), expected->timezoneIdentifier.has_value());
        QCOMPARE(JsonCoding::decodePreferences(written).value(), *expected);
        if (qstrcmp(QTest::currentDataTag(), "every key") == 0)
            QCOMPARE(written, object(json));
    }
};

QTEST_GUILESS_MAIN(TestJsonCoding)
#include "tst_jsoncoding.moc"
