#include "formatting/TimeZoneCatalog.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTimeZone>

namespace {

const QLocale russian(QLocale::Russian, QLocale::Russia);

// Midwinter in the north: zones with daylight saving show standard time.
const QDateTime january(QDate(2026, 1, 15), QTime(12, 0), QTimeZone::utc());
const QDateTime july(QDate(2026, 7, 15), QTime(12, 0), QTimeZone::utc());

QStringList idsOf(const QList<TimeZoneOption> &options)
{
    QStringList ids;
    for (const TimeZoneOption &option : options)
        ids.append(option.id);
    return ids;
}

// Seconds east of GMT read back from a title's "GMT+05:30" prefix.
int titleOffset(const QString &title)
{
    static const QRegularExpression prefix(QStringLiteral("^GMT([+-])(\\d\\d):(\\d\\d) — "));
    const QRegularExpressionMatch match = prefix.match(title);
    if (!match.hasMatch())
        return INT_MIN;
    const int magnitude = match.captured(2).toInt() * 3600 + match.captured(3).toInt() * 60;
    return match.captured(1) == u"-" ? -magnitude : magnitude;
}

} // namespace

class TestTimeZoneCatalog : public QObject {
    Q_OBJECT

private slots:
    void title_data();
    void title();
    void order_data();
    void order();
    void genericNameInEverySeason_data();
    void genericNameInEverySeason();
    void fullCatalogue();
};

void TestTimeZoneCatalog::title_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("offset");

    QTest::newRow("GMT itself") << QByteArray("Europe/London") << january << "GMT+00:00";
    QTest::newRow("UTC") << QByteArray("UTC") << july << "GMT+00:00";
    QTest::newRow("half hour east") << QByteArray("Asia/Kolkata") << january << "GMT+05:30";
    QTest::newRow("quarter hour east") << QByteArray("Asia/Kathmandu") << january << "GMT+05:45";
    QTest::newRow("half hour west") << QByteArray("America/St_Johns") << january << "GMT-03:30";
    QTest::newRow("half hour west, summer") << QByteArray("America/St_Johns") << july << "GMT-02:30";
    QTest::newRow("sign from offset, not name") << QByteArray("Etc/GMT+5") << january << "GMT-05:00";
}

void TestTimeZoneCatalog::title()
{
    QFETCH(QByteArray, id);
    QFETCH(QDateTime, at);
    QFETCH(QString, offset);

    const QList<TimeZoneOption> options = TimeZoneCatalog::allOptions(russian, {id}, at);
    QCOMPARE(options.size(), 2);
    const TimeZoneOption &option = options.at(1);
    const QString head = offset + QStringLiteral(" — ");
    const QString tail = QStringLiteral(" (") + QString::fromLatin1(id) + u')';
    QVERIFY2(option.title.startsWith(head), qPrintable(option.title));
    QVERIFY2(option.title.endsWith(tail), qPrintable(option.title));
    QVERIFY2(option.title.size() > head.size() + tail.size(), "the name is missing");
}

void TestTimeZoneCatalog::order_data()
{
    QTest::addColumn<QList<QByteArray>>("ids");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("only the system entry") << QList<QByteArray>{} << QStringList{};
    QTest::newRow("unopenable skipped") << QList<QByteArray>{"Nowhere/Bogus", "Asia/Tokyo"}
                                        << QStringList{"Asia/Tokyo"};
    // Stored in preferences and backups, an identifier must mean the same to
    // other programs: Qt's own "UTC+03:00" does not.
    QTest::newRow("only IANA identifiers")
        << QList<QByteArray>{"UTC+03:00", "Europe/Moscow", "UTC-05:30"} << QStringList{"Europe/Moscow"};
    QTest::newRow("west before east") << QList<QByteArray>{"Asia/Tokyo",    "America/St_Johns", "Asia/Kolkata",
                                                           "Europe/London", "Etc/GMT+5",        "Pacific/Pago_Pago"}
                                      << QStringList{"Pacific/Pago_Pago", "Etc/GMT+5",    "America/St_Johns",
                                                     "Europe/London",     "Asia/Kolkata", "Asia/Tokyo"};
    // The same name: the identifier in brackets decides.
    QTest::newRow("same offset, same name") << QList<QByteArray>{"Europe/Paris", "Europe/Berlin", "Europe/Amsterdam"}
                                            << QStringList{"Europe/Amsterdam", "Europe/Berlin", "Europe/Paris"};
    // Russian collation puts Cyrillic names ("Среднее время по Гринвичу")
    // before Latin ones ("UTC"), unlike a comparison of code points.
    QTest::newRow("same offset, Russian collation")
        << QList<QByteArray>{"UTC", "Europe/London"} << QStringList{"Europe/London", "UTC"};
    // "о-в Рождества" begins in lower case and still comes before "Ховд".
    QTest::newRow("same offset, case ignored")
        << QList<QByteArray>{"Asia/Hovd", "Indian/Christmas"} << QStringList{"Indian/Christmas", "Asia/Hovd"};
}

void TestTimeZoneCatalog::order()
{
    QFETCH(QList<QByteArray>, ids);
    QFETCH(QStringList, expected);

    expected.prepend(QStringLiteral("__system__"));
    QCOMPARE(idsOf(TimeZoneCatalog::allOptions(russian, ids, january)), expected);
}

// The name holds in summer and winter alike; only the offset moves.
void TestTimeZoneCatalog::genericNameInEverySeason_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("winter");
    QTest::addColumn<QString>("summer");
    QTest::newRow("region") << QByteArray("America/New_York") << "GMT-05:00 — Восточная Америка (America/New_York)"
                            << "GMT-04:00 — Восточная Америка (America/New_York)";
    QTest::newRow("southern summer") << QByteArray("Australia/Sydney")
                                     << "GMT+11:00 — Восточная Австралия (Australia/Sydney)"
                                     << "GMT+10:00 — Восточная Австралия (Australia/Sydney)";
    QTest::newRow("place") << QByteArray("Europe/London") << "GMT+00:00 — Великобритания (Europe/London)"
                           << "GMT+01:00 — Великобритания (Europe/London)";
    QTest::newRow("no summer time") << QByteArray("Europe/Moscow") << "GMT+03:00 — Москва (Europe/Moscow)"
                                    << "GMT+03:00 — Москва (Europe/Moscow)";
    QTest::newRow("standard name only") << QByteArray("UTC") << "GMT+00:00 — Всемирное координированное время (UTC)"
                                        << "GMT+00:00 — Всемирное координированное время (UTC)";
    QTest::newRow("no name") << QByteArray("Etc/GMT+5") << "GMT-05:00 — Etc/GMT+5 (Etc/GMT+5)"
                             << "GMT-05:00 — Etc/GMT+5 (Etc/GMT+5)";
}

void TestTimeZoneCatalog::genericNameInEverySeason()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, winter);
    QFETCH(QString, summer);
    QCOMPARE(TimeZoneCatalog::allOptions(russian, {id}, january).at(1).title, winter);
    QCOMPARE(TimeZoneCatalog::allOptions(russian, {id}, july).at(1).title, summer);
}

void TestTimeZoneCatalog::fullCatalogue()
{
    const QList<TimeZoneOption> options = TimeZoneCatalog::allOptions(russian);
    QCOMPARE(options.first(), TimeZoneCatalog::systemOption());
    QCOMPARE(options.first().id, QStringLiteral("__system__"));
    QCOMPARE(options.first().title, QStringLiteral("Системный"));
    QVERIFY(!options.first().zoneIdentifier.has_value());
    QVERIFY2(options.size() > 300, qPrintable(QString::number(options.size())));

    QSet<QString> seen;
    int previousOffset = INT_MIN;
    for (const TimeZoneOption &option : options.sliced(1)) {
        QVERIFY2(!seen.contains(option.id), qPrintable(option.id));
        seen.insert(option.id);
        QCOMPARE(option.zoneIdentifier, std::optional<QString>(option.id));
        const int offset = titleOffset(option.title);
        QVERIFY2(offset != INT_MIN, qPrintable(option.title));
        QVERIFY2(offset >= previousOffset, qPrintable(option.title));
        previousOffset = offset;
    }

    const auto moscow = std::find_if(options.cbegin(), options.cend(),
                                     [](const TimeZoneOption &o) { return o.id == u"Europe/Moscow"; });
    QVERIFY(moscow != options.cend());
    QVERIFY2(moscow->title.startsWith(u"GMT+03:00 — Москва"), qPrintable(moscow->title));
}

QTEST_GUILESS_MAIN(TestTimeZoneCatalog)
#include "tst_timezonecatalog.moc"
