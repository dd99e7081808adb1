// The clock, restore notifications and the preferences applied at run time.
#include "AccountsStore.h"

void AccountsStore::handleTick(const QDateTime &date)
{
    setNow(date);
    checkRestoredNotifications();
}

void AccountsStore::refreshNow()
{
    setNow(m_deps.dateProvider->now());
}

void AccountsStore::checkRestoredNotifications()
{
    if (!m_preferences.notificationsOnRestore)
        return;
    // Every account restored at the last look was notified then: until an
    // account changes, the next to notify is the earliest running one.
    if (m_restoresChecked && (!m_nextRestoreToCheck || m_now < *m_nextRestoreToCheck))
        return;
    m_restoresChecked = true;
    m_nextRestoreToCheck = nextResetDate();
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    for (const Account &account : std::as_const(m_accounts)) {
        if (account.isArchived || !account.resetAt || account.resetAt->toMSecsSinceEpoch() > nowMs)
            continue;
        const auto notified = m_lastNotifiedRestore.constFind(account.id);
        if (notified != m_lastNotifiedRestore.cend() && *notified == *account.resetAt)
            continue;
        m_lastNotifiedRestore.insert(account.id, *account.resetAt);
        m_deps.notificationsService->sendRestoredNotification(account.id, account.name);
    }
}

Preferences AccountsStore::applyPreferencesRuntime(const Preferences &preferences)
{
    const bool oldLaunch = m_preferences.autoLaunchAtStartup;
    Preferences effective = preferences;
    if (preferences.autoLaunchAtStartup != oldLaunch) {
        const Result<void> switched = m_deps.autostartService->setEnabled(preferences.autoLaunchAtStartup);
        if (switched) {
            setLastErrorMessage(std::nullopt);
        } else {
            effective.autoLaunchAtStartup = oldLaunch;
            setLastErrorMessage(launchAtLoginFailedMessage);
        }
    }
    setPreferencesValue(effective);
    return m_preferences;
}

Preferences AccountsStore::previewPreferences(const Preferences &preferences)
{
    return applyPreferencesRuntime(preferences);
}

void AccountsStore::restorePreferences(const Preferences &preferences)
{
    applyPreferencesRuntime(preferences);
}

void AccountsStore::commitPreferences(const Preferences &preferences)
{
    m_deps.preferencesRepository->savePreferences(applyPreferencesRuntime(preferences));
}

QString AccountsStore::autostartStatusText(AutostartStatus status)
{
    switch (status) {
    case AutostartStatus::enabled: return QStringLiteral("Разрешен");
    case AutostartStatus::disabled: return QStringLiteral("Выключен");
    case AutostartStatus::unavailable: return QStringLiteral("Недоступен");
    }
    return QStringLiteral("Недоступен");
}

QString AccountsStore::autostartStatusText() const
{
    return autostartStatusText(m_deps.autostartService->status());
}

QString AccountsStore::notificationStatusText(int status)
{
    switch (status) {
    case int(NotificationAuthorizationStatus::notDetermined): return QStringLiteral("Не запрошено");
    case int(NotificationAuthorizationStatus::denied): return QStringLiteral("Запрещено");
    case int(NotificationAuthorizationStatus::authorized): return QStringLiteral("Разрешено");
    case int(NotificationAuthorizationStatus::provisional): return QStringLiteral("Временное разрешение");
    case int(NotificationAuthorizationStatus::ephemeral): return QStringLiteral("Эфемерное разрешение");
    default: return QStringLiteral("Неизвестно");
    }
}

void AccountsStore::requestNotificationPermission(std::function<void(bool granted)> done)
{
    m_deps.notificationsService->requestAuthorization(std::move(done));
}

void AccountsStore::notificationAuthorizationStatus(std::function<void(const QString &text)> done)
{
    m_deps.notificationsService->authorizationStatus(
        [done = std::move(done)](int status) { done(notificationStatusText(status)); });
}

void AccountsStore::openNotificationSettings()
{
    m_deps.notificationsService->openSystemNotificationSettings();
}
