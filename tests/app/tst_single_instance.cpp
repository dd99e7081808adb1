// One writer per data folder, and a second start handing over to the first.
#include "DataFolderLock.h"
#include "SingleInstance.h"

#include <QDir>
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
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8()); }

    // A lock left by a process gone is taken over; a live holder keeps it and is named.
    void lockIsExclusiveWhileHeld()
    {
        QTemporaryDir data;
        const QString state = data.filePath("accounts.json");
        QFile stale(state + ".lock");
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999\ntallyport\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        DataFolderLock import(state, DataFolderLock::Role::import);
        QCOMPARE(import.tryLock().kind, DataFolderLock::Outcome::Kind::acquired);
        const DataFolderLock::Outcome held = DataFolderLock(state, DataFolderLock::Role::window).tryLock();
        QCOMPARE(held.kind, DataFolderLock::Outcome::Kind::heldByImport);
        QCOMPARE(held.holderPid, QCoreApplication::applicationPid());
    }

    // What keeps the lock from being taken is told, never "held by process 0".
    void lockFailuresNameTheCause()
    {
        QTemporaryDir data;
        QVERIFY(QDir(data.path()).mkdir("accounts.json.lock"));
        DataFolderLock folder(data.filePath("accounts.json"), DataFolderLock::Role::import);
        QCOMPARE(folder.tryLock().error->kind, Error::Kind::IsFolder);
        DataFolderLock missing(QStringLiteral("/proc/tallyport-no-such-folder/accounts.json"),
                               DataFolderLock::Role::import);
        QCOMPARE(missing.tryLock().error->kind, Error::Kind::FolderNotFound);
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

private:
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
