#include "services/PerSecondTimerTicker.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The ticker's timer is its child while it runs, which lets the tests see
// how many timers exist without measuring time.
class TickerTest : public QObject {
    Q_OBJECT

private slots:
    void tickCarriesCurrentUtcTime();
    void startAndStopAreIdempotent();
    void stopAndReleaseEndTheTimer();
};

void TickerTest::tickCarriesCurrentUtcTime()
{
    PerSecondTimerTicker ticker;
    QSignalSpy ticks(&ticker, &TimerTicking::tick);
    const QDateTime before = QDateTime::currentDateTimeUtc();
    ticker.start();

    QTRY_COMPARE_WITH_TIMEOUT(ticks.count(), 1, 5000);
    const QDateTime sent = ticks.first().first().toDateTime();
    QCOMPARE(sent.timeSpec(), Qt::UTC);
    QVERIFY(sent >= before);
    QVERIFY(sent <= QDateTime::currentDateTimeUtc());
}

void TickerTest::startAndStopAreIdempotent()
{
    PerSecondTimerTicker ticker;
    QSignalSpy ticks(&ticker, &TimerTicking::tick);
    QVERIFY(ticker.findChildren<QTimer *>().isEmpty());

    ticker.stop();
    ticker.start();
    ticker.start();
    QCOMPARE(ticker.findChildren<QTimer *>().size(), 1);

    ticker.stop();
    ticker.stop();
    ticker.start();
    QCOMPARE(ticker.findChildren<QTimer *>().size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 1, 5000);
}

void TickerTest::stopAndReleaseEndTheTimer()
{
    auto ticker = std::make_unique<PerSecondTimerTicker>();
    ticker->start();
    QPointer<QTimer> timer = ticker->findChild<QTimer *>();
    ticker->stop();
    QVERIFY(timer.isNull());

    ticker->start();
    timer = ticker->findChild<QTimer *>();
    QVERIFY(timer);
    ticker.reset();
    QVERIFY(timer.isNull());
}

QTEST_GUILESS_MAIN(TickerTest)
#include "tst_ticker.moc"
