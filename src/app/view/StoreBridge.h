#pragma once

#include "AccountListModel.h"
#include "EventListModel.h"
#include "ServiceListModel.h"
#include "ServiceOverviewModel.h"
#include "store/AccountsStore.h"

#include <QObject>
#include <QVariantMap>

// The store as the QML view sees it: ids as upper-case UUID texts, dates as
// JavaScript dates, preferences as plain objects, lists as models. It holds no
// data of its own and forwards every operation to the store.
class StoreBridge : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString selectedDestinationId READ selectedDestinationId WRITE setSelectedDestinationId NOTIFY
                   selectedDestinationChanged)
    Q_PROPERTY(QString selectedSection READ selectedSection NOTIFY selectedDestinationChanged)
    Q_PROPERTY(QString selectedServiceId READ selectedServiceId NOTIFY selectedDestinationChanged)
    Q_PROPERTY(QString selectedServiceName READ selectedServiceName NOTIFY derivedChanged)
    Q_PROPERTY(bool hasSelectedService READ hasSelectedService NOTIFY derivedChanged)
    Q_PROPERTY(QVariantMap selectedServiceOverview READ selectedServiceOverview NOTIFY derivedChanged)
    Q_PROPERTY(QString searchQuery READ searchQuery WRITE setSearchQuery NOTIFY searchQueryChanged)
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged)
    Q_PROPERTY(bool isLoaded READ isLoaded NOTIFY isLoadedChanged)
    Q_PROPERTY(QString lastErrorMessage READ lastErrorMessage NOTIFY lastErrorMessageChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY lastErrorMessageChanged)
    Q_PROPERTY(QVariantMap preferences READ preferences NOTIFY preferencesChanged)
    Q_PROPERTY(int servicesCount READ servicesCount NOTIFY derivedChanged)
    Q_PROPERTY(int accountsCount READ accountsCount NOTIFY derivedChanged)
    Q_PROPERTY(int activeCount READ activeCount NOTIFY derivedChanged)
    Q_PROPERTY(AccountListModel *accounts READ accounts CONSTANT)
    Q_PROPERTY(ServiceListModel *services READ services CONSTANT)
    Q_PROPERTY(ServiceOverviewModel *overviews READ overviews CONSTANT)
    Q_PROPERTY(EventListModel *events READ events CONSTANT)

public:
    explicit StoreBridge(AccountsStore &store, QObject *parent = nullptr);

    QString selectedDestinationId() const { return m_store.selectedDestinationId(); }
    void setSelectedDestinationId(const QString &id) { m_store.setSelectedDestinationId(id); }
    QString selectedSection() const;
    QString selectedServiceId() const;
    QString selectedServiceName() const;
    bool hasSelectedService() const { return m_store.selectedService().has_value(); }
    QVariantMap selectedServiceOverview() const;
    QString searchQuery() const { return m_store.searchQuery(); }
    void setSearchQuery(const QString &query) { m_store.setSearchQuery(query); }
    QDateTime now() const { return m_store.now(); }
    bool isLoaded() const { return m_store.isLoaded(); }
    QString lastErrorMessage() const { return m_store.lastErrorMessageText(); }
    bool hasError() const { return m_store.hasError(); }
    QVariantMap preferences() const;
    int servicesCount() const { return m_store.servicesCount(); }
    int accountsCount() const { return m_store.accountsCount(); }
    int activeCount() const { return m_store.activeCount(); }
    AccountListModel *accounts() { return &m_accounts; }
    ServiceListModel *services() { return &m_services; }
    ServiceOverviewModel *overviews() { return &m_overviews; }
    EventListModel *events() { return &m_events; }

    Q_INVOKABLE void load() { m_store.load(); }
    Q_INVOKABLE void clearError() { m_store.clearError(); }
    Q_INVOKABLE void refreshNow() { m_store.refreshNow(); }
    Q_INVOKABLE void selectSection(const QString &section);
    Q_INVOKABLE void selectService(const QString &serviceId);

    // Accounts. An empty serviceId means none given; an invalid date means no
    // manual restore moment.
    Q_INVOKABLE void addAccount(const QString &name, const QString &note, const QString &password,
                                const QDateTime &manualResetAt, bool hasNoLimits, const QString &serviceId);
    Q_INVOKABLE void updateAccount(const QString &id, const QString &name, const QString &note, const QString &password,
                                   const QDateTime &manualResetAt, bool hasNoLimits, const QString &serviceId);
    Q_INVOKABLE void deleteAccount(const QString &id);
    Q_INVOKABLE void startUsage(const QString &id);
    Q_INVOKABLE void resetTimer(const QString &id);
    Q_INVOKABLE void toggleNoLimits(const QString &id);
    Q_INVOKABLE bool copyPasswordToClipboard(const QString &id);
    Q_INVOKABLE void archiveAccount(const QString &id);
    Q_INVOKABLE void restoreAccount(const QString &id);
    // {accountId, serviceId, name, note, password, hasNoLimits, resetAt (a date or null)}; empty when unknown.
    Q_INVOKABLE QVariantMap account(const QString &id) const;

    // Services.
    Q_INVOKABLE QString createService(const QString &name); // the new id, or empty
    Q_INVOKABLE void renameService(const QString &id, const QString &name);
    Q_INVOKABLE void deleteService(const QString &id);
    Q_INVOKABLE QString serviceName(const QString &id) const;
    // Moves every account whose id parses; true when at least one parsed.
    Q_INVOKABLE bool handleAccountDrop(const QStringList &texts, const QString &serviceId);

    // Preferences, notifications and launch at login.
    Q_INVOKABLE QVariantMap previewPreferences(const QVariantMap &preferences);
    Q_INVOKABLE void restorePreferences(const QVariantMap &preferences);
    Q_INVOKABLE void commitPreferences(const QVariantMap &preferences);
    Q_INVOKABLE QString autostartStatusText() const { return m_store.autostartStatusText(); }
    // Answer through notificationPermissionAnswered / notificationStatusFetched.
    Q_INVOKABLE void requestNotificationPermission();
    Q_INVOKABLE void fetchNotificationStatus();
    Q_INVOKABLE void openNotificationSettings() { m_store.openNotificationSettings(); }

    // Backups through the file panels.
    Q_INVOKABLE void exportBackup(const QString &password) { m_store.exportBackupWithPanel(password); }
    Q_INVOKABLE void importBackup(const QString &password, const QString &mode);

    // Texts in the user's format and time zone.
    Q_INVOKABLE QString dateText(const QDateTime &date) const;

    // The time-zone picker's entries, {id, title}, the system entry
    // ("__system__") first, every other id a zone identifier. Building them
    // takes a noticeable moment: ask once per sheet.
    Q_INVOKABLE QVariantList timeZoneOptions() const;

signals:
    void selectedDestinationChanged();
    void searchQueryChanged();
    void nowChanged();
    void isLoadedChanged();
    void lastErrorMessageChanged();
    void preferencesChanged();
    void derivedChanged();
    void notificationPermissionAnswered(bool granted);
    void notificationStatusFetched(const QString &text);

private:
    AccountsStore &m_store;
    AccountListModel m_accounts;
    ServiceListModel m_services;
    ServiceOverviewModel m_overviews;
    EventListModel m_events;
};
