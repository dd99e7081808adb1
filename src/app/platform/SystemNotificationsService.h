#pragma once

#include "services/NotificationsService.h"

#include <QDBusConnection>
#include <QStringList>

#include <memory>

// Desktop notifications through org.freedesktop.Notifications on the session
// bus. There is no permission to ask for on this platform: notifications are
// "authorized" while a notification server runs or the bus can start one.
class SystemNotificationsService final : public NotificationsService {
public:
    // Starts a program without waiting for it; false when it did not start.
    using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;

    // Reported when no notification server is reachable or the bus cannot be
    // asked; outside the platform's states, so it is shown as unknown.
    static constexpr int unknownStatus = -1;

    explicit SystemNotificationsService(QDBusConnection bus = QDBusConnection::sessionBus(),
                                        Launcher launcher = &launchIfInstalled);

    void requestAuthorization(std::function<void(bool granted)> done) override;
    void authorizationStatus(std::function<void(int status)> done) override;
    void sendRestoredNotification(const QString &accountName) override;
    // Opens the notification settings of the desktop named by
    // XDG_CURRENT_DESKTOP; does nothing on other desktops.
    void openSystemNotificationSettings() override;

    // Starts the program found in PATH, detached; false when it is not there.
    static bool launchIfInstalled(const QString &program, const QStringList &arguments);

private:
    struct BodyMarkup;

    void checkReachable(std::function<void(bool reachable)> done) const;
    // Whether the server renders markup in bodies, asked once.
    void whenBodyMarkupKnown(std::function<void(bool markup)> done);
    static void sendNotification(QDBusConnection bus, const QString &accountName);

    QDBusConnection m_bus;
    Launcher m_launcher;
    std::shared_ptr<BodyMarkup> m_bodyMarkup;
};
