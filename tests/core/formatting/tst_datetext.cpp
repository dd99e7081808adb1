#include "formatting/DateText.h"

#include <QTest>

namespace {

Preferences withZone(bool present, const QString &identifier)
{
    Preferences preferences;
    if (present)
        preferences.timezoneIdentifier = identifier;
    return preferences;
}

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

} // namespace

class TestDateText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void dateTime_data();
    void dateTime();
    void monthNames_data();
    void monthNames();
    void timeZone_data();
    void timeZone();
};

// A system zone nine hours ahead of UTC all year, so that falling back to it
// is visible in the text.
void TestDateText::initTestCase()
{
    qputenv("TZ", "Asia/Tokyo");
    QCOMPARE(QTimeZone::systemTimeZoneId(), QByteArray("Asia/Tokyo"));
}

void TestDateText::dateTime_data()
{
    QTest::addColumn<bool>("hasZone");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Moscow, next day") << true << "Europe/Moscow" << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 00:30";
    QTest::newRow("hour padded, day not")
        << true << "Europe/Moscow" << utc("2026-01-05T06:05:00Z") << "5 янв. 2026, 09:05";
    QTest::newRow("seconds dropped, not rounded")
        << true << "UTC" << utc("2026-12-31T23:59:59Z") << "31 дек. 2026, 23:59";
    QTest::newRow("daylight time, previous day")
        << true << "America/St_Johns" << utc("2026-07-01T02:00:00Z") << "30 июн. 2026, 23:30";
    QTest::newRow("absent: system zone") << false << QString() << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 06:30";
    QTest::newRow("unknown: system zone")
        << true << "Mars/Olympus_Mons" << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 06:30";
    QTest::newRow("empty: system zone") << true << "" << utc("2026-03-02T21:30:00Z") << "3 мар. 2026, 06:30";
}

void TestDateText::dateTime()
{
    QFETCH(bool, hasZone);
    QFETCH(QString, zone);
    QFETCH(QDateTime, date);
    QFETCH(QString, expected);

    QCOMPARE(DateText::dateTime(date, withZone(hasZone, zone)), expected);
}

// The month names come from Qt's Russian locale data: the abbreviated forms
// that are used inside a date, "мая" being the full genitive.
void TestDateText::monthNames_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("expected");

    const char *names[] = {"янв.", "февр.", "мар.",  "апр.", "мая",   "июн.",
                           "июл.", "авг.",  "сент.", "окт.", "нояб.", "дек."};
    for (int month = 1; month <= 12; ++month)
        QTest::addRow("%d", month) << month
                                   << QStringLiteral("15 %1 2026, 12:00").arg(QString::fromUtf8(names[month - 1]));
}

void TestDateText::monthNames()
{
    QFETCH(int, month);
    QFETCH(QString, expected);

    const QDateTime date(QDate(2026, month, 15), QTime(12, 0), QTimeZone::utc());
    QCOMPARE(DateText::dateTime(date, withZone(true, QStringLiteral("UTC"))), expected);
}

void TestDateText::timeZone_data()
{
    QTest::addColumn<bool>("hasZone");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QByteArray>("expectedId");

    QTest::newRow("known") << true << "America/St_Johns" << QByteArray("America/St_Johns");
    QTest::newRow("unknown") << true << "Nowhere/Bogus" << QByteArray("Asia/Tokyo");
}

void TestDateText::timeZone()
{
    QFETCH(bool, hasZone);
    QFETCH(QString, zone);
    QFETCH(QByteArray, expectedId);

    const QTimeZone resolved = DateText::timeZone(withZone(hasZone, zone));
    QVERIFY(resolved.isValid());
    QCOMPARE(resolved.id(), expectedId);
}

QTEST_GUILESS_MAIN(TestDateText)
#include "tst_datetext.moc"
