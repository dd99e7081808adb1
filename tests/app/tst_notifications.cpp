#include "platform/SystemNotificationsService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

// A notification server on a connection of its own, as another process would
// have it; it records the arguments it is asked to show.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<QVariantList> received;
    QStringList capabilities;
    int capabilityQuestions = 0;

signals:
    void notified();

public slots:
    QStringList GetCapabilities()
    {
        ++capabilityQuestions;
        return capabilities;
    }
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout)
    {
        received.append({appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout});
        emit notified();
        return uint(received.size());
    }
};

class NotificationsTest : public QObject {
    Q_OBJECT

    QDBusConnection m_serverBus{QString()};
    FakeNotificationServer m_server;

    void emitSignal(const QString &name, const QVariantList &arguments)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications", name);
        signal.setArguments(arguments);
        QVERIFY(m_serverBus.send(signal));
    }

private slots:
    void initTestCase()
    {
        m_serverBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-server"));
        QVERIFY2(m_serverBus.isConnected(), "no session bus: run this test under dbus-run-session");
        QVERIFY(
            m_serverBus.registerObject("/org/freedesktop/Notifications", &m_server, QDBusConnection::ExportAllSlots));
        QVERIFY(m_serverBus.registerService("org.freedesktop.Notifications"));
    }

    // Each restore is a notification of its own, never replacing the last, that
    // opens the application. A server that renders markup (dunst, for one) gets
    // the name's own markup characters escaped; one that shows plain text gets
    // them as they are. Its capabilities are asked once.
    void restoreNotification_data()
    {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<QString>("body");
        QTest::newRow("markup") << QStringList{"body", "body-markup"}
                                << "Аккаунт Dunst &amp; &lt;b&gt;Co&lt;/b&gt;: недельный лимит восстановлен.";
        QTest::newRow("plain text") << QStringList{"body"}
                                    << "Аккаунт Dunst & <b>Co</b>: недельный лимит восстановлен.";
    }

    void restoreNotification()
    {
        QFETCH(QStringList, capabilities);
        QFETCH(QString, body);
        m_server.capabilities = capabilities;
        m_server.capabilityQuestions = 0;
        m_server.received.clear();
        SystemNotificationsService service;
        QSignalSpy notified(&m_server, &FakeNotificationServer::notified);
        service.sendRestoredNotification(QUuid::createUuid(), QStringLiteral("Dunst & <b>Co</b>"));
        service.sendRestoredNotification(QUuid::createUuid(), QStringLiteral("Dunst & <b>Co</b>"));
        QTRY_COMPARE(notified.count(), 2);
        for (const QVariantList &arguments : m_server.received) {
            QCOMPARE(arguments.at(1).toUInt(), 0u); // replaces none
            QCOMPARE(arguments.at(4).toString(), body);
            // The urgency hint is a byte on the bus.
            QCOMPARE(arguments.at(6).toMap().value("urgency").metaType(), QMetaType::fromType<uchar>());
        }
        QCOMPARE(m_server.capabilityQuestions, 1);
    }

    // Clicking a restore notification (its default action) names its account;
    // other actions and closed ones lead nowhere.
    void clickLeadsToTheAccount_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("closedFirst");
        QTest::addColumn<bool>("leads");
        QTest::newRow("default") << "default" << false << true;
        QTest::newRow("another action") << "Открыть" << false << false;
        QTest::newRow("closed") << "default" << true << false;
    }

    void clickLeadsToTheAccount()
    {
        QFETCH(QString, action);
        QFETCH(bool, closedFirst);
        QFETCH(bool, leads);
        SystemNotificationsService service;
        QSignalSpy activated(&service, &SystemNotificationsService::restoreNotificationActivated);
        QSignalSpy notified(&m_server, &FakeNotificationServer::notified);
        const QUuid work = QUuid::createUuid();
        const QUuid home = QUuid::createUuid();
        service.sendRestoredNotification(work, QStringLiteral("Work"));
        QTRY_COMPARE(notified.count(), 1); // the ids follow the order sent
        service.sendRestoredNotification(home, QStringLiteral("Home"));
        QTRY_COMPARE(notified.count(), 2);
        const uint workId = uint(m_server.received.size()) - 1;
        if (closedFirst)
            emitSignal("NotificationClosed", {workId, 2u});
        emitSignal("ActionInvoked", {workId, action});
        // Signals arrive in order: once Home's click is in, Work's is too.
        emitSignal("ActionInvoked", {workId + 1, QString("default")});
        QTRY_VERIFY(!activated.isEmpty() && activated.last().at(0).value<QUuid>() == home);
        QCOMPARE(activated.count(), leads ? 2 : 1);
        if (leads)
            QCOMPARE(activated.first().at(0).value<QUuid>(), work);
    }
};

QTEST_GUILESS_MAIN(NotificationsTest)
#include "tst_notifications.moc"
