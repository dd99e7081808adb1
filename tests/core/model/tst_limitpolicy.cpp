#include "model/LimitPolicy.h"

#include <QTest>
#include <QTimeZone>

namespace {
const QDateTime kNow = QDateTime::fromString(QStringLiteral("2026-03-02T14:05:09Z"), Qt::ISODate);
} // namespace

class TestLimitPolicy : public QObject {
    Q_OBJECT

private slots:
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
