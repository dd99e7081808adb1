#pragma once

#include <QString>
#include <QUuid>

#include <functional>

// The platform's permission states; any other number is shown as unknown.
enum class NotificationAuthorizationStatus : int {
    notDetermined = 0,
    denied = 1,
    authorized = 2,
    provisional = 3,
    ephemeral = 4,
};

// Desktop notifications. The two queries answer asynchronously through the
// callback, on the thread that asked.
class NotificationsService {
public:
    virtual ~NotificationsService() = default;
    virtual void requestAuthorization(std::function<void(bool granted)> done) = 0;
    virtual void authorizationStatus(std::function<void(int status)> done) = 0;
    // The id lets a click on the notification lead to the account.
    virtual void sendRestoredNotification(const QUuid &accountId, const QString &accountName) = 0;
    virtual void openSystemNotificationSettings() = 0;
};
