#include "model/LimitPolicy.h"

#include <QTest>
#include <QTimeZone>

namespace {
const QDateTime kNow = QDateTime::fromString(QStringLiteral("2026-03-02T14:05:09Z"), Qt::ISODate);
} // namespace

class TestLimitPolicy : public QObject {
    Q_OBJECT

private slots:
    // Only resetAt decides; a start, the archive and the no-limits flag do not.
    void status_data()
    {
        QTest::addColumn<QDateTime>("resetAt"); // invalid: absent
        QTest::addColumn<bool>("flagged");      // archived and without limits
        QTest::addColumn<AccountLimitStatus>("expected");
        QTest::newRow("absent") << QDateTime() << false << AccountLimitStatus::idle();
        QTest::newRow("absent, flagged") << QDateTime() << true << AccountLimitStatus::idle();
        QTest::newRow("exactly now") << kNow << false << AccountLimitStatus::restored();
        QTest::newRow("one millisecond ago") << kNow.addMSecs(-1) << false << AccountLimitStatus::restored();
        QTest::newRow("one millisecond ahead") << kNow.addMSecs(1) << false << AccountLimitStatus::active(0.001);
        QTest::newRow("a week ahead, flagged") << kNow.addSecs(604800) << true << AccountLimitStatus::active(604800);
    }

    void status()
    {
        QFETCH(QDateTime, resetAt);
        QFETCH(bool, flagged);
        QFETCH(AccountLimitStatus, expected);
        Account account;
        account.startedAt = kNow.addDays(-3);
        if (resetAt.isValid())
            account.resetAt = resetAt;
        account.isArchived = account.hasNoLimits = flagged;
        QCOMPARE(LimitPolicy::status(account, kNow), expected);
    }

    void resetDateAddsSevenDaysOfAbsoluteTime()
    {
        QCOMPARE(LimitPolicy::resetDate(kNow), kNow.addDays(7));
        // Berlin moves its clocks forward on 2026-03-29: the wall-clock hour shifts, the interval does not.
        const QDateTime berlin(QDate(2026, 3, 26), QTime(12, 0), QTimeZone("Europe/Berlin"));
        const QDateTime reset = LimitPolicy::resetDate(berlin);
        QCOMPARE(berlin.msecsTo(reset), qint64(604800) * 1000);
        QCOMPARE(reset.toTimeZone(QTimeZone("Europe/Berlin")).time(), QTime(13, 0));
    }
};

QTEST_GUILESS_MAIN(TestLimitPolicy)
#include "tst_limitpolicy.moc"
