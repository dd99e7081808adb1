// Countdown texts, dates in the chosen zone, and the time zone catalogue.
#include "formatting/DateText.h"
#include "formatting/RemainingTimeFormatter.h"
#include "formatting/TimeZoneCatalog.h"

#include <QTest>
#include <QTimeZone>

#include <QtNumeric>

namespace {

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

const QLocale russian(QLocale::Russian, QLocale::Russia);
// Midwinter in the north: zones with daylight saving show standard time.
const QDateTime january = utc("2026-01-15T12:00:00Z");

QStringList idsOf(const QList<TimeZoneOption> &options)
{
    QStringList ids;
    for (const TimeZoneOption &option : options)
        ids.append(option.id);
    return ids;
}

} // namespace

class TestFormatting : public QObject {
    Q_OBJECT

private slots:
    // A system zone nine hours ahead of UTC all year, so that falling back to it
    // is visible in the text.
    void initTestCase()
    {
        qputenv("TZ", "Asia/Tokyo");
        QCOMPARE(QTimeZone::systemTimeZoneId(), QByteArray("Asia/Tokyo"));
    }

    void remainingTime_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<TimerFormat>("format");
        QTest::addColumn<bool>("showSeconds");
        QTest::addColumn<QString>("expected");
        const auto compact = TimerFormat::compact;
        const auto full = TimerFormat::full;
        QTest::newRow("week minus one") << 604799.0 << compact << true << "6д 23ч 59м 59с";
        QTest::newRow("no seconds") << 604799.0 << compact << false << "6д 23ч 59м";
        QTest::newRow("full") << 604799.0 << full << true << "6 дней 23 часов 59 минут 59 секунд";
        QTest::newRow("never rounded up to a day") << 86399.999 << compact << true << "0д 23ч 59м 59с";
        QTest::newRow("exactly a day") << 86400.0 << compact << true << "1д 0ч 0м 0с";
        QTest::newRow("days uncapped") << 10368000.0 + 36007 << full << true << "120 дней 10 часов 0 минут 7 секунд";
        QTest::newRow("negative") << -12.0 << compact << true << "0д 0ч 0м 0с";
        QTest::newRow("not a number") << qQNaN() << full << false << "0 дней 0 часов 0 минут";
    }

    void remainingTime()
    {
        QFETCH(double, seconds);
        QFETCH(TimerFormat, format);
        QFETCH(bool, showSeconds);
        QFETCH(QString, expected);
        QCOMPARE(RemainingTimeFormatter::string(seconds, format, showSeconds), expected);
    }

    void dateText_data()
    {
        QTest::addColumn<QString>("zone"); // null: no zone chosen
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("expected");
        QTest::newRow("next day") << "Europe/Moscow" << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 00:30";
        QTest::newRow("hour padded, day not, May")
            << "Europe/Moscow" << utc("2026-05-05T06:05:00Z") << "5 мая 2026, 09:05";
        QTest::newRow("seconds dropped, not rounded") << "UTC" << utc("2026-12-31T23:59:59Z") << "31 дек. 2026, 23:59";
        QTest::newRow("daylight time") << "America/St_Johns" << utc("2026-07-01T02:00:00Z") << "30 июн. 2026, 23:30";
        QTest::newRow("absent: system zone") << QString() << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 06:30";
        QTest::newRow("unknown: system zone")
            << "Mars/Olympus_Mons" << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 06:30";
    }

    void dateText()
    {
        QFETCH(QString, zone);
        QFETCH(QDateTime, date);
        QFETCH(QString, expected);
        Preferences preferences;
        if (!zone.isNull())
            preferences.timezoneIdentifier = zone;
        QCOMPARE(DateText::dateTime(date, preferences), expected);
    }

    // After the system entry: west to east, then by title in Russian collation.
    void zoneOrder_data()
    {
        QTest::addColumn<QList<QByteArray>>("ids");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("unopenable skipped")
            << QList<QByteArray>{"Nowhere/Bogus", "Asia/Tokyo"} << QStringList{"Asia/Tokyo"};
        // Stored in preferences and backups, an identifier must mean the same to
        // other programs: Qt's own "UTC+03:00" does not.
        QTest::newRow("only IANA identifiers")
            << QList<QByteArray>{"UTC+03:00", "Europe/Moscow", "UTC-05:30"} << QStringList{"Europe/Moscow"};
        QTest::newRow("west before east")
            << QList<QByteArray>{"Asia/Tokyo", "America/St_Johns", "Asia/Kolkata", "Europe/London", "Etc/GMT+5"}
            << QStringList{"Etc/GMT+5", "America/St_Johns", "Europe/London", "Asia/Kolkata", "Asia/Tokyo"};
        // The same name: the identifier in brackets decides.
        QTest::newRow("same offset, same name")
            << QList<QByteArray>{"Europe/Paris", "Europe/Berlin", "Europe/Amsterdam"}
            << QStringList{"Europe/Amsterdam", "Europe/Berlin", "Europe/Paris"};
        // Cyrillic ("Среднее время по Гринвичу") before Latin ("UTC"), unlike code points.
        QTest::newRow("Russian collation")
            << QList<QByteArray>{"UTC", "Europe/London"} << QStringList{"Europe/London", "UTC"};
        // "о-в Рождества" begins in lower case and still comes before "Ховд".
        QTest::newRow("case ignored") << QList<QByteArray>{"Asia/Hovd", "Indian/Christmas"}
                                      << QStringList{"Indian/Christmas", "Asia/Hovd"};
    }

    void zoneOrder()
    {
        QFETCH(QList<QByteArray>, ids);
        QFETCH(QStringList, expected);
        expected.prepend(QStringLiteral("__system__"));
        QCOMPARE(idsOf(TimeZoneCatalog::allOptions(russian, ids, january)), expected);
    }

    // "GMT±hh:mm — name (id)" at the given moment, the sign from the offset; the
    // name holds in summer and winter alike, only the offset moves.
    void zoneTitle_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QStringList>("expected"); // winter offset, summer offset, name unless any
        QTest::newRow("place") << QByteArray("Europe/London") << QStringList{"+00:00", "+01:00", "Великобритания"};
        QTest::newRow("southern summer") << QByteArray("Australia/Sydney")
                                         << QStringList{"+11:00", "+10:00", "Восточная Австралия"};
        QTest::newRow("no summer time") << QByteArray("Europe/Moscow") << QStringList{"+03:00", "+03:00", "Москва"};
        QTest::newRow("standard name only")
            << QByteArray("UTC") << QStringList{"+00:00", "+00:00", "Всемирное координированное время"};
        QTest::newRow("no name, sign from offset")
            << QByteArray("Etc/GMT+5") << QStringList{"-05:00", "-05:00", "Etc/GMT+5"};
        QTest::newRow("half hour west") << QByteArray("America/St_Johns") << QStringList{"-03:30", "-02:30"};
    }

    void zoneTitle()
    {
        QFETCH(QByteArray, id);
        QFETCH(QStringList, expected);
        QStringList names;
        for (const QDateTime &at : {january, utc("2026-07-15T12:00:00Z")}) {
            const TimeZoneOption option = TimeZoneCatalog::allOptions(russian, {id}, at).at(1);
            QCOMPARE(option.zoneIdentifier, std::optional(QString::fromLatin1(id)));
            const QString head = "GMT" + expected.at(names.size()) + " — ";
            const QString tail = " (" + QString::fromLatin1(id) + ')';
            QVERIFY2(option.title.startsWith(head) && option.title.endsWith(tail), qPrintable(option.title));
            names << option.title.mid(head.size()).chopped(tail.size());
        }
        QCOMPARE(names.first(), names.last());
        QCOMPARE(names.first(), expected.value(2, names.first()));
        QVERIFY(!names.first().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFormatting)
#include "tst_formatting.moc"
