#include "services/PerSecondTimerTicker.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The ticker's timer is its child while it runs, which lets the test count
// timers without measuring time.
class TickerTest : public QObject {
    Q_OBJECT

private slots:
    void oneTimerWhileRunningNoneAfter()
    {
        auto ticker = std::make_unique<PerSecondTimerTicker>();
        QSignalSpy ticks(ticker.get(), &TimerTicking::tick);
        const QDateTime before = QDateTime::currentDateTimeUtc();
        ticker->stop();
        ticker->start();
        ticker->start();
        QCOMPARE(ticker->findChildren<QTimer *>().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(ticks.count(), 1, 5000);
        const QDateTime sent = ticks.first().first().toDateTime();
        QVERIFY(sent.timeSpec() == Qt::UTC && sent >= before && sent <= QDateTime::currentDateTimeUtc());

        ticker->stop();
        QVERIFY(ticker->findChildren<QTimer *>().isEmpty());
        ticker->start();
        QPointer<QTimer> timer = ticker->findChild<QTimer *>();
        QVERIFY(timer);
        ticker.reset();
        QVERIFY(timer.isNull());
    }
};

QTEST_GUILESS_MAIN(TickerTest)
#include "tst_ticker.moc"
