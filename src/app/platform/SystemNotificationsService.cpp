#include "SystemNotificationsService.h"

#include "AppConfig.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QVariantMap>

#include <utility>

namespace {

const QString notificationsName = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage busDaemonCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                          QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

// Hands the reply, or the error in its place, to `done` on this thread,
// always from the event loop, never inside this function.
void whenAnswered(const QDBusPendingCall &call, std::function<void(const QDBusMessage &)> done)
{
    // A call on a connection that is not connected has failed before it was
    // sent, and Qt never reports that to a watcher.
    if (call.isFinished()) {
        QTimer::singleShot(0, [call, done = std::move(done)] { done(call.reply()); });
        return;
    }
    auto *watcher = new QDBusPendingCallWatcher(call);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         done(finished->reply());
                     });
}

// How long a notification waits for the server to tell its capabilities.
constexpr int capabilitiesTimeoutMs = 5000;

// The body markup's own characters as entities; the rest is shown as it is.
QString escapedMarkup(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            escaped += QStringLiteral("&amp;");
        else if (c == u'<')
            escaped += QStringLiteral("&lt;");
        else if (c == u'>')
            escaped += QStringLiteral("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

struct Command {
    QString program;
    QStringList arguments;
};

// The notification settings of each desktop, alternatives in order of
// preference. XDG_CURRENT_DESKTOP lists names most specific first
// ("ubuntu:GNOME"); the first one known decides.
QList<Command> notificationSettingsCommands(const QString &currentDesktop)
{
    const auto desktops = currentDesktop.split(u':', Qt::SkipEmptyParts);
    for (const QString &desktop : desktops) {
        const QString name = desktop.toUpper();
        if (name == QLatin1String("GNOME") || name == QLatin1String("UNITY") || name == QLatin1String("GNOME-CLASSIC")
            || name == QLatin1String("GNOME-FLASHBACK"))
            return {{QStringLiteral("gnome-control-center"), {QStringLiteral("notifications")}}};
        if (name == QLatin1String("KDE")) {
            // Plasma 5 installs the program under both names, Plasma 6 only
            // under the first.
            const QStringList module{QStringLiteral("kcm_notifications")};
            return {{QStringLiteral("systemsettings"), module}, {QStringLiteral("systemsettings5"), module}};
        }
        if (name == QLatin1String("XFCE"))
            return {{QStringLiteral("xfce4-notifyd-config"), {}}};
        if (name == QLatin1String("X-CINNAMON") || name == QLatin1String("CINNAMON"))
            return {{QStringLiteral("cinnamon-settings"), {QStringLiteral("notifications")}}};
        if (name == QLatin1String("MATE"))
            return {{QStringLiteral("mate-notification-properties"), {}}};
    }
    return {};
}

} // namespace

// The server's answer to GetCapabilities, shared with the pending call.
struct SystemNotificationsService::BodyMarkup {
    std::optional<bool> supported;
    QList<std::function<void(bool)>> waiting;
};

SystemNotificationsService::SystemNotificationsService(QDBusConnection bus)
    : m_bus(std::move(bus))
    , m_bodyMarkup(std::make_shared<BodyMarkup>())
{
    // Only the server that owns the name is listened to.
    const QString path = QStringLiteral("/org/freedesktop/Notifications");
    m_bus.connect(notificationsName, path, notificationsName, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(notificationsName, path, notificationsName, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint)));
}

void SystemNotificationsService::whenBodyMarkupKnown(std::function<void(bool markup)> done)
{
    if (m_bodyMarkup->supported)
        return done(*m_bodyMarkup->supported);
    m_bodyMarkup->waiting.append(std::move(done));
    if (m_bodyMarkup->waiting.size() > 1)
        return;
    const QDBusMessage capabilities =
        QDBusMessage::createMethodCall(notificationsName, QStringLiteral("/org/freedesktop/Notifications"),
                                       notificationsName, QStringLiteral("GetCapabilities"));
    // A server that cannot say is taken to show plain text.
    whenAnswered(m_bus.asyncCall(capabilities, capabilitiesTimeoutMs),
                 [markup = m_bodyMarkup](const QDBusMessage &reply) {
                     markup->supported = reply.type() == QDBusMessage::ReplyMessage
                         && reply.arguments().value(0).toStringList().contains(QStringLiteral("body-markup"));
                     for (const auto &waiting : std::exchange(markup->waiting, {}))
                         waiting(*markup->supported);
                 });
}

void SystemNotificationsService::checkReachable(std::function<void(bool reachable)> done) const
{
    QDBusMessage hasOwner = busDaemonCall(QStringLiteral("NameHasOwner"));
    hasOwner << notificationsName;
    whenAnswered(m_bus.asyncCall(hasOwner), [bus = m_bus, done = std::move(done)](const QDBusMessage &reply) {
        if (reply.type() != QDBusMessage::ReplyMessage)
            return done(false);
        if (reply.arguments().value(0).toBool())
            return done(true);
        // Many servers are not running until the bus starts them for the
        // first notification.
        whenAnswered(bus.asyncCall(busDaemonCall(QStringLiteral("ListActivatableNames"))),
                     [done](const QDBusMessage &names) {
                         done(names.type() == QDBusMessage::ReplyMessage
                              && names.arguments().value(0).toStringList().contains(notificationsName));
                     });
    });
}

void SystemNotificationsService::requestAuthorization(std::function<void(bool granted)> done)
{
    checkReachable(std::move(done));
}

void SystemNotificationsService::authorizationStatus(std::function<void(int status)> done)
{
    checkReachable([done = std::move(done)](bool reachable) {
        done(reachable ? int(NotificationAuthorizationStatus::authorized) : unknownStatus);
    });
}

void SystemNotificationsService::sendRestoredNotification(const QUuid &accountId, const QString &accountName)
{
    QPointer<SystemNotificationsService> self(this);
    whenBodyMarkupKnown([self, accountId, accountName](bool markup) {
        if (!self)
            return;
        // A server that renders markup would draw "<b>" in a name as bold,
        // or load an image named in it.
        const QString name = markup ? escapedMarkup(accountName) : accountName;
        self->notify(QStringLiteral("Лимит восстановлен"),
                     QStringLiteral("Аккаунт ") + name + QStringLiteral(": недельный лимит восстановлен."),
                     {QStringLiteral("default"), QStringLiteral("Открыть")}, [self, accountId](uint id) {
                         if (self)
                             self->m_shownRestores.insert(id, accountId);
                     });
    });
}

void SystemNotificationsService::sendNotice(const QString &summary, const QString &body)
{
    notify(summary, body, {});
}

void SystemNotificationsService::notify(const QString &summary, const QString &body, const QStringList &actions,
                                        std::function<void(uint id)> shown)
{
    const QVariantMap hints{
        {QStringLiteral("sound-name"), QStringLiteral("message-new-instant")},
        {QStringLiteral("desktop-entry"), AppConfig::applicationId},
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}, // normal
    };
    QDBusMessage message =
        QDBusMessage::createMethodCall(notificationsName, QStringLiteral("/org/freedesktop/Notifications"),
                                       notificationsName, QStringLiteral("Notify"));
    // replaces_id 0: every notification is one of its own. The server is not
    // checked first: the bus starts it on demand, and a failed delivery has
    // no one to tell.
    message << AppConfig::appDisplayName << uint(0) << AppConfig::applicationId << summary << body << actions << hints
            << int(-1);
    if (!shown) {
        m_bus.send(message);
        return;
    }
    whenAnswered(m_bus.asyncCall(message), [shown = std::move(shown)](const QDBusMessage &reply) {
        if (reply.type() == QDBusMessage::ReplyMessage)
            shown(reply.arguments().value(0).toUInt());
    });
}

void SystemNotificationsService::onActionInvoked(uint id, const QString &actionKey)
{
    const auto shown = m_shownRestores.constFind(id);
    if (shown == m_shownRestores.cend() || actionKey != QLatin1String("default"))
        return;
    emit restoreNotificationActivated(*shown);
}

void SystemNotificationsService::onNotificationClosed(uint id)
{
    m_shownRestores.remove(id);
}

void SystemNotificationsService::openSystemNotificationSettings()
{
    const auto commands = notificationSettingsCommands(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    for (const Command &command : commands) {
        const QString path = QStandardPaths::findExecutable(command.program);
        if (!path.isEmpty() && QProcess::startDetached(path, command.arguments))
            return;
    }
}
