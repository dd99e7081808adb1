// One writer per data folder, and a second start handing over to the first.
#include "DataFolderLock.h"
#include "SingleInstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    }

    void lockIsExclusiveWhileHeld()
    {
        QTemporaryDir data;
        const QString state = data.filePath("accounts.json");
        DataFolderLock window(state);
        QCOMPARE(window.tryLock(), DataFolderLock::Outcome::acquired);
        DataFolderLock other(state);
        QCOMPARE(other.tryLock(), DataFolderLock::Outcome::heldByLiveProcess);
        QCOMPARE(other.holderPid(), QCoreApplication::applicationPid());
    }

    void staleLockIsTakenOver()
    {
        QTemporaryDir data;
        const QString state = data.filePath("accounts.json");
        QFile stale(state + ".lock");
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999\ntallyport\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        DataFolderLock lock(state);
        QCOMPARE(lock.tryLock(), DataFolderLock::Outcome::acquired);
    }

    void lockInUnwritableFolderIsUnavailable()
    {
        DataFolderLock lock(QStringLiteral("/proc/tallyport-no-such-folder/accounts.json"));
        QCOMPARE(lock.tryLock(), DataFolderLock::Outcome::unavailable);
    }

    void secondStartAsksTheRunningWindowToShow()
    {
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy shown(&running, &SingleInstance::showRequested);

        // The second start blocks on its socket, so it runs beside the event loop.
        std::atomic<int> answer{-1};
        std::thread second([&] { answer = SingleInstance::askRunningInstanceToShow(5000) ? 1 : 0; });
        QTRY_COMPARE(answer.load(), 1);
        second.join();
        QCOMPARE(shown.count(), 1);
    }

    void noRunningWindowMeansNoHandOver() { QVERIFY(!SingleInstance::askRunningInstanceToShow(500)); }

private:
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
