#include "platform/SystemNotificationsService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString notificationsName = QStringLiteral("org.freedesktop.Notifications");

struct Notification {
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int expireTimeout = 0;
};

} // namespace

// A notification server on a connection of its own, as another process would
// have it; it records what it is asked to show.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<Notification> received;
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

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void restoreNotification();
    void markupInNamesIsShownAsText_data();
    void markupInNamesIsShownAsText();
    void authorizedWhileServerRuns_data();
    void authorizedWhileServerRuns();
    void unknownWithoutBus();
    void settingsOfEachDesktop_data();
    void settingsOfEachDesktop();
    void settingsFallBackToNextProgram();

private:
    void startServer();
    static std::optional<int> askStatus(SystemNotificationsService &service);

    QDBusConnection m_serverBus{QString()};
    std::unique_ptr<FakeNotificationServer> m_server;
};

void NotificationsTest::initTestCase()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QFAIL("no session bus: run this test under dbus-run-session");
    m_serverBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-server"));
    QVERIFY(m_serverBus.isConnected());
}

void NotificationsTest::init()
{
    m_server = std::make_unique<FakeNotificationServer>();
}

void NotificationsTest::cleanup()
{
    m_serverBus.unregisterService(notificationsName);
    m_serverBus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    m_server.reset();
}

void NotificationsTest::startServer()
{
    QVERIFY(m_serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), m_server.get(),
                                       QDBusConnection::ExportAllSlots));
    QVERIFY(m_serverBus.registerService(notificationsName));
}

std::optional<int> NotificationsTest::askStatus(SystemNotificationsService &service)
{
    std::optional<int> status;
    service.authorizationStatus([&status](int answer) { status = answer; });
    // Callers expect the answer later, from the event loop, never at once.
    if (status)
        return std::nullopt;
    // Unanswered in time leaves the result empty.
    (void)QTest::qWaitFor([&status] { return status.has_value(); }, 10000);
    return status;
}

void NotificationsTest::restoreNotification()
{
    startServer();
    SystemNotificationsService service;
    QSignalSpy notified(m_server.get(), &FakeNotificationServer::notified);

    // Each restore is a notification of its own, never replacing the last.
    service.sendRestoredNotification(QStringLiteral("Work"));
    service.sendRestoredNotification(QStringLiteral("Work"));

    QTRY_COMPARE(notified.count(), 2);
    for (const Notification &shown : std::as_const(m_server->received)) {
        QCOMPARE(shown.appName, QStringLiteral("Tallyport"));
        QCOMPARE(shown.replacesId, 0u);
        QCOMPARE(shown.appIcon, QStringLiteral("org.tallyport.Tallyport"));
        QCOMPARE(shown.summary, QStringLiteral("Лимит восстановлен"));
        QCOMPARE(shown.body, QStringLiteral("Аккаунт Work: недельный лимит восстановлен."));
        QVERIFY(shown.actions.isEmpty());
        QCOMPARE(shown.hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("org.tallyport.Tallyport"));
        QCOMPARE(shown.hints.value(QStringLiteral("sound-name")).toString(), QStringLiteral("message-new-instant"));
        // The protocol wants the urgency as a byte.
        const QVariant urgency = shown.hints.value(QStringLiteral("urgency"));
        QCOMPARE(urgency.metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(urgency.toInt(), 1);
        QCOMPARE(shown.expireTimeout, -1);
    }
}

// A server that renders markup (dunst, for one) gets the name's own
// markup characters escaped; one that shows plain text gets them as they are.
void NotificationsTest::markupInNamesIsShownAsText_data()
{
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("body");
    QTest::newRow("markup") << QStringList{"body", "body-markup"}
                            << "Аккаунт Dunst &amp; &lt;b&gt;Co&lt;/b&gt;: недельный лимит восстановлен.";
    QTest::newRow("plain text") << QStringList{"body"} << "Аккаунт Dunst & <b>Co</b>: недельный лимит восстановлен.";
}

void NotificationsTest::markupInNamesIsShownAsText()
{
    QFETCH(QStringList, capabilities);
    QFETCH(QString, body);
    m_server->capabilities = capabilities;
    startServer();
    SystemNotificationsService service;
    QSignalSpy notified(m_server.get(), &FakeNotificationServer::notified);

    service.sendRestoredNotification(QStringLiteral("Dunst & <b>Co</b>"));
    service.sendRestoredNotification(QStringLiteral("Dunst & <b>Co</b>"));

    QTRY_COMPARE(notified.count(), 2);
    QCOMPARE(m_server->received.at(0).body, body);
    QCOMPARE(m_server->received.at(1).body, body);
    QCOMPARE(m_server->capabilityQuestions, 1); // asked once
}

void NotificationsTest::authorizedWhileServerRuns_data()
{
    QTest::addColumn<bool>("serverRuns");
    QTest::addColumn<int>("status");

    // This bus can start nothing on demand, so a stopped server stays unreachable.
    QTest::newRow("server runs") << true << int(NotificationAuthorizationStatus::authorized);
    QTest::newRow("no server") << false << SystemNotificationsService::unknownStatus;
}

void NotificationsTest::authorizedWhileServerRuns()
{
    QFETCH(bool, serverRuns);
    QFETCH(int, status);
    if (serverRuns)
        startServer();
    SystemNotificationsService service;

    QCOMPARE(askStatus(service), std::optional<int>(status));

    std::optional<bool> granted;
    service.requestAuthorization([&granted](bool answer) { granted = answer; });
    QTRY_VERIFY(granted.has_value());
    QCOMPARE(*granted, serverRuns);
}

void NotificationsTest::unknownWithoutBus()
{
    const QDBusConnection noBus =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("no-bus"));
    QVERIFY(!noBus.isConnected());
    SystemNotificationsService service(noBus);

    QCOMPARE(askStatus(service), std::optional<int>(SystemNotificationsService::unknownStatus));
}

void NotificationsTest::settingsOfEachDesktop_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("command"); // empty: nothing is started

    const QStringList gnome{"gnome-control-center", "notifications"};
    QTest::newRow("GNOME") << "GNOME" << gnome;
    QTest::newRow("Ubuntu") << "ubuntu:GNOME" << gnome;
    QTest::newRow("KDE") << "KDE" << QStringList{"systemsettings", "kcm_notifications"};
    QTest::newRow("XFCE") << "XFCE" << QStringList{"xfce4-notifyd-config"};
    QTest::newRow("Cinnamon") << "X-Cinnamon" << QStringList{"cinnamon-settings", "notifications"};
    QTest::newRow("MATE") << "MATE" << QStringList{"mate-notification-properties"};
    QTest::newRow("unknown desktop") << "Hyprland" << QStringList();
    QTest::newRow("no desktop") << "" << QStringList();
}

void NotificationsTest::settingsOfEachDesktop()
{
    QFETCH(QString, desktop);
    QFETCH(QStringList, command);
    qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
    QList<QStringList> started;
    SystemNotificationsService service(QDBusConnection::sessionBus(),
                                       [&started](const QString &program, const QStringList &arguments) {
                                           started.append(QStringList{program} + arguments);
                                           return true;
                                       });

    service.openSystemNotificationSettings();

    QCOMPARE(started, command.isEmpty() ? QList<QStringList>() : QList<QStringList>{command});
}

void NotificationsTest::settingsFallBackToNextProgram()
{
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    QStringList tried;
    SystemNotificationsService service(QDBusConnection::sessionBus(),
                                       [&tried](const QString &program, const QStringList &) {
                                           tried.append(program);
                                           return false;
                                       });

    service.openSystemNotificationSettings();

    QCOMPARE(tried, (QStringList{"systemsettings", "systemsettings5"}));
}

QTEST_GUILESS_MAIN(NotificationsTest)
#include "tst_notifications.moc"
