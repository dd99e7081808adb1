#include "formatting/RemainingTimeFormatter.h"

#include <QTest>

#include <limits>

class TestRemainingTimeFormatter : public QObject {
    Q_OBJECT

private slots:
    void string_data();
    void string();
};

void TestRemainingTimeFormatter::string_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<TimerFormat>("format");
    QTest::addColumn<bool>("showSeconds");
    QTest::addColumn<QString>("expected");

    const auto compact = TimerFormat::compact;
    const auto full = TimerFormat::full;

    QTest::newRow("week minus one, compact") << 604799.0 << compact << true << "6д 23ч 59м 59с";
    QTest::newRow("week minus one, compact, no seconds") << 604799.0 << compact << false << "6д 23ч 59м";
    QTest::newRow("week minus one, full") << 604799.0 << full << true << "6 дней 23 часов 59 минут 59 секунд";
    QTest::newRow("week minus one, full, no seconds") << 604799.0 << full << false << "6 дней 23 часов 59 минут";
    QTest::newRow("fraction dropped, compact") << 3661.7 << compact << true << "0д 1ч 1м 1с";
    QTest::newRow("fraction dropped, full") << 3661.7 << full << true << "0 дней 1 часов 1 минут 1 секунд";
    QTest::newRow("under a minute, no seconds") << 59.99 << compact << false << "0д 0ч 0м";
    QTest::newRow("59 s, no seconds") << 59.0 << compact << false << "0д 0ч 0м";
    QTest::newRow("never rounded up to a day") << 86399.999 << compact << true << "0д 23ч 59м 59с";
    QTest::newRow("exactly a day") << 86400.0 << compact << true << "1д 0ч 0м 0с";
    QTest::newRow("days uncapped") << 10368000.0 << compact << false << "120д 0ч 0м";
    QTest::newRow("days uncapped, full") << 10368000.0 + 36000 + 600 + 7 << full << true
                                         << "120 дней 10 часов 10 минут 7 секунд";
    QTest::newRow("zero") << 0.0 << compact << true << "0д 0ч 0м 0с";
    QTest::newRow("zero, full") << 0.0 << full << true << "0 дней 0 часов 0 минут 0 секунд";
    QTest::newRow("negative") << -12.0 << compact << true << "0д 0ч 0м 0с";
    QTest::newRow("negative fraction") << -0.5 << full << false << "0 дней 0 часов 0 минут";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << compact << true << "0д 0ч 0м 0с";
}

void TestRemainingTimeFormatter::string()
{
    QFETCH(double, seconds);
    QFETCH(TimerFormat, format);
    QFETCH(bool, showSeconds);
    QFETCH(QString, expected);

    QCOMPARE(RemainingTimeFormatter::string(seconds, format, showSeconds), expected);
}

QTEST_APPLESS_MAIN(TestRemainingTimeFormatter)
#include "tst_remainingtimeformatter.moc"
