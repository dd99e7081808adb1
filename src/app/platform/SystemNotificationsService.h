#pragma once

#include "services/NotificationsService.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <memory>

// Desktop notifications through org.freedesktop.Notifications on the session
// bus. There is no permission to ask for on this platform: notifications are
// "authorized" while a notification server runs or the bus can start one.
// A click on a restore notification (its default action) is reported with
// the account's id.
class SystemNotificationsService final : public QObject, public NotificationsService {
    Q_OBJECT
public:
    // Reported when no notification server is reachable or the bus cannot be
    // asked; outside the platform's states, so it is shown as unknown.
    static constexpr int unknownStatus = -1;

    explicit SystemNotificationsService(QDBusConnection bus = QDBusConnection::sessionBus());

    void requestAuthorization(std::function<void(bool granted)> done) override;
    void authorizationStatus(std::function<void(int status)> done) override;
    void sendRestoredNotification(const QUuid &accountId, const QString &accountName) override;
    // A notification that leads nowhere, with text of the application's own.
    void sendNotice(const QString &summary, const QString &body);
    // Opens the notification settings of the desktop named by
    // XDG_CURRENT_DESKTOP; does nothing on other desktops.
    void openSystemNotificationSettings() override;

signals:
    void restoreNotificationActivated(const QUuid &accountId);

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id);

private:
    struct BodyMarkup;

    void checkReachable(std::function<void(bool reachable)> done) const;
    // Whether the server renders markup in bodies, asked once.
    void whenBodyMarkupKnown(std::function<void(bool markup)> done);
    void notify(const QString &summary, const QString &body, const QStringList &actions,
                std::function<void(uint id)> shown = {});

    QDBusConnection m_bus;
    std::shared_ptr<BodyMarkup> m_bodyMarkup;
    // Restore notifications on screen, by the server's id.
    QHash<uint, QUuid> m_shownRestores;
};
