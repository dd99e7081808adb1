#include "model/LimitPolicy.h"

#include <QTest>
#include <QTimeZone>

namespace {
QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs);
}
const QDateTime kNow = utc("2026-03-02T14:05:09Z");
} // namespace

class TestLimitPolicy : public QObject {
    Q_OBJECT

private slots:
    void status_data();
    void status();
    void onlyResetAtCounts();
    void resetDateAddsSevenDaysOfAbsoluteTime();
};

void TestLimitPolicy::status_data()
{
    QTest::addColumn<QDateTime>("resetAt"); // invalid: absent
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("remaining");
    const int active = int(AccountLimitStatus::Kind::active);
    const int idle = int(AccountLimitStatus::Kind::idle);
    const int restored = int(AccountLimitStatus::Kind::restored);
    QTest::newRow("absent") << QDateTime() << idle << 0.0;
    QTest::newRow("exactly now") << kNow << restored << 0.0;
    QTest::newRow("one second ahead") << kNow.addSecs(1) << active << 1.0;
    QTest::newRow("one millisecond ahead") << kNow.addMSecs(1) << active << 0.001;
    QTest::newRow("a full week ahead") << kNow.addSecs(604800) << active << 604800.0;
    QTest::newRow("one millisecond ago") << kNow.addMSecs(-1) << restored << 0.0;
    QTest::newRow("a year ago") << kNow.addYears(-1) << restored << 0.0;
}

void TestLimitPolicy::status()
{
    QFETCH(QDateTime, resetAt);
    QFETCH(int, kind);
    QFETCH(double, remaining);
    Account account;
    account.startedAt = kNow.addDays(-3);
    if (resetAt.isValid())
        account.resetAt = resetAt;
    const AccountLimitStatus status = LimitPolicy::status(account, kNow);
    QCOMPARE(int(status.kind), kind);
    if (status.kind == AccountLimitStatus::Kind::active)
        QCOMPARE(status.remaining, remaining);
}

void TestLimitPolicy::onlyResetAtCounts()
{
    Account account;
    account.resetAt = kNow.addSecs(3600);
    const AccountLimitStatus expected = AccountLimitStatus::active(3600);
    QCOMPARE(LimitPolicy::status(account, kNow), expected);
    account.hasNoLimits = true;
    QCOMPARE(LimitPolicy::status(account, kNow), expected);
    account.isArchived = true;
    account.archivedAt = kNow;
    account.startedAt.reset();
    QCOMPARE(LimitPolicy::status(account, kNow), expected);
    account.resetAt.reset();
    account.startedAt = kNow;
    QCOMPARE(LimitPolicy::status(account, kNow), AccountLimitStatus::idle());
}

void TestLimitPolicy::resetDateAddsSevenDaysOfAbsoluteTime()
{
    QCOMPARE(LimitPolicy::resetDate(kNow), utc("2026-03-09T14:05:09Z"));
    // Berlin moves its clocks forward on 2026-03-29: the wall-clock hour shifts, the interval does not.
    const QDateTime berlin(QDate(2026, 3, 26), QTime(12, 0), QTimeZone("Europe/Berlin"));
    const QDateTime reset = LimitPolicy::resetDate(berlin);
    QCOMPARE(berlin.msecsTo(reset), qint64(604800) * 1000);
    QCOMPARE(reset.toTimeZone(QTimeZone("Europe/Berlin")).time(), QTime(13, 0));
}

QTEST_GUILESS_MAIN(TestLimitPolicy)
#include "tst_limitpolicy.moc"
