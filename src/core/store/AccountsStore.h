#pragma once

#include "Dashboard.h"
#include "model/AccountsState.h"
#include "model/LimitPolicy.h"
#include "model/Preferences.h"
#include "persistence/AccountRepository.h"
#include "persistence/PreferencesRepository.h"
#include "services/AutostartService.h"
#include "services/ClipboardService.h"
#include "services/DateProviding.h"
#include "services/FilePanels.h"
#include "services/NotificationsService.h"
#include "services/SecureTransferService.h"
#include "services/TimerTicking.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

// The services the store works through, each behind its interface so that
// tests can hand in fakes.
struct AccountsStoreServices {
    std::shared_ptr<AccountRepository> accountRepository;
    std::shared_ptr<PreferencesRepository> preferencesRepository;
    std::shared_ptr<DateProviding> dateProvider;
    std::shared_ptr<TimerTicking> timerTicker;
    std::shared_ptr<AutostartService> autostartService;
    std::shared_ptr<NotificationsService> notificationsService;
    std::shared_ptr<SecureTransferService> transferService;
    // Absent in the command line, which has neither a clipboard nor panels.
    std::shared_ptr<ClipboardService> clipboard;
    std::shared_ptr<FilePanels> filePanels;
    // The files the application keeps (state, lock, preferences, autostart
    // entry): an export never writes onto any of them.
    QStringList applicationFiles;
};

// The single owner of the application's data. Every user operation is a
// method here; every list and count a view shows is derived here, against
// the store's own `now`. Lives on the GUI thread.
class AccountsStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<Service> services READ services NOTIFY servicesChanged)
    Q_PROPERTY(QList<Account> accounts READ accounts NOTIFY accountsChanged)
    Q_PROPERTY(QList<AccountEvent> events READ events NOTIFY eventsChanged)
    Q_PROPERTY(QString selectedDestinationId READ selectedDestinationId WRITE setSelectedDestinationId NOTIFY
                   selectedDestinationChanged)
    Q_PROPERTY(QString searchQuery READ searchQuery WRITE setSearchQuery NOTIFY searchQueryChanged)
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged)
    Q_PROPERTY(Preferences preferences READ preferences NOTIFY preferencesChanged)
    Q_PROPERTY(bool isLoaded READ isLoaded NOTIFY isLoadedChanged)
    Q_PROPERTY(QString lastErrorMessage READ lastErrorMessageText NOTIFY lastErrorMessageChanged)
    Q_PROPERTY(bool hasError READ hasError NOTIFY lastErrorMessageChanged)

public:
    explicit AccountsStore(AccountsStoreServices services, QObject *parent = nullptr);
    ~AccountsStore() override;

    // Observable fields.
    const QList<Service> &services() const { return m_services; }
    const QList<Account> &accounts() const { return m_accounts; }
    const QList<AccountEvent> &events() const { return m_events; }
    const DashboardDestination &selectedDestination() const { return m_selectedDestination; }
    void setSelectedDestination(const DashboardDestination &destination);
    QString selectedDestinationId() const { return m_selectedDestination.id(); }
    void setSelectedDestinationId(const QString &id);
    const QString &searchQuery() const { return m_searchQuery; }
    void setSearchQuery(const QString &query);
    const QDateTime &now() const { return m_now; }
    const Preferences &preferences() const { return m_preferences; }
    bool isLoaded() const { return m_isLoaded; }
    const std::optional<QString> &lastErrorMessage() const { return m_lastErrorMessage; }
    QString lastErrorMessageText() const { return m_lastErrorMessage.value_or(QString()); }
    bool hasError() const { return m_lastErrorMessage.has_value(); }

    // Loading and errors.
    Q_INVOKABLE void load();
    Q_INVOKABLE void clearError();
    // Returns once every change is on disk (or its save has failed); the
    // window's saves run on a writer thread.
    void flushSaves();

    // Account operations; each one logs and saves.
    QUuid targetServiceID(const std::optional<QUuid> &preferred) const;
    void addAccount(const QString &name, const QString &note, const QString &password,
                    const std::optional<QDateTime> &manualResetAt, bool hasNoLimits,
                    const std::optional<QUuid> &serviceId);
    void updateAccount(const QUuid &id, const QString &name, const QString &note, const QString &password,
                       const std::optional<QDateTime> &manualResetAt, bool hasNoLimits,
                       const std::optional<QUuid> &serviceId);
    void deleteAccount(const QUuid &id);
    void startUsage(const QUuid &id);
    void resetTimer(const QUuid &id);
    void toggleNoLimits(const QUuid &id);
    bool copyPasswordToClipboard(const QUuid &id);
    void archiveAccount(const QUuid &id);
    void restoreAccount(const QUuid &id);

    // Services and moves.
    std::optional<QUuid> createService(const QString &name);
    void renameService(const QUuid &id, const QString &name);
    void deleteService(const QUuid &id);
    void moveAccountToService(const QUuid &accountId, const QUuid &serviceId);
    QList<Service> sidebarServices() const;

    // Navigation, filters and summaries; lists are derived on every read,
    // counts are kept until an account changes or the clock passes a restore.
    DashboardSection selectedSection() const;
    std::optional<DashboardSection> selectedStaticSection() const;
    std::optional<QUuid> selectedServiceId() const;
    std::optional<Service> selectedService() const;
    QList<Account> liveAccounts() const;
    QList<Account> filteredAccounts() const;
    // Whether filteredAccounts() lists `account`, and in which order: newest
    // first, accounts of the same moment in stored order.
    bool isShown(const Account &account) const;
    bool isListedBefore(const Account &a, const Account &b) const;
    // Whether the accounts shown change with the clock alone (the active section).
    bool shownAccountsFollowClock() const;
    const Account *account(const QUuid &id) const;
    // The account's position in accounts(), -1 when there is none.
    qsizetype accountPosition(const QUuid &id) const { return m_accountPositions.value(id, -1); }
    QList<AccountEvent> filteredEvents() const;
    // The same as positions in events(), of the events from `from` on.
    QList<qsizetype> filteredEventIndexes(qsizetype from = 0) const;
    // Whether the search takes every event of the account by its name.
    bool eventsMatchByName(const QUuid &accountId) const;
    // Changes each time events() is replaced as a whole (load, import); in
    // between, events are only ever appended.
    int eventsRevision() const { return m_eventsRevision; }
    int totalCount() const;
    int accountsCount() const { return totalCount(); }
    int activeCount() const;
    int servicesCount() const;
    QList<Account> restoredAccounts() const;
    std::optional<QDateTime> nextResetDate() const;
    QList<ServiceOverview> serviceOverviews() const;
    // One card of serviceOverviews(), from the service's unarchived accounts in stored order.
    ServiceOverview serviceOverview(const Service &service, const QList<const Account *> &accounts) const;
    const Service *findService(const QUuid &id) const;
    AccountLimitStatus status(const Account &account) const;
    QString accountName(const QUuid &accountId) const;
    QString serviceName(const QUuid &serviceId) const;
    void selectSection(DashboardSection section);
    void selectService(const QUuid &serviceId);

    // Clock, restore notifications and runtime preferences.
    Q_INVOKABLE void refreshNow();
    Preferences previewPreferences(const Preferences &preferences);
    void restorePreferences(const Preferences &preferences);
    void commitPreferences(const Preferences &preferences);
    void savePreferences(const Preferences &preferences) { commitPreferences(preferences); }
    QString autostartStatusText() const;
    void requestNotificationPermission(std::function<void(bool granted)> done);
    void notificationAuthorizationStatus(std::function<void(const QString &text)> done);
    void openNotificationSettings();
    static QString notificationStatusText(int status);
    static QString autostartStatusText(AutostartStatus status);

    // Backups.
    void exportBackupWithPanel(const QString &password);
    void importBackupWithPanel(const QString &password, BackupImportMode mode);
    // The same flows with the file already chosen (the command line uses them).
    Result<void> exportBackup(const QString &path, const QString &password);
    Result<void> importBackup(const QString &path, const QString &password, BackupImportMode mode);

    static const QString launchAtLoginFailedMessage;
    static const QString duplicateServiceNameMessage;
    static const QString defaultBackupFileName;

signals:
    void servicesChanged();
    // The accounts an operation changed, added or deleted; empty when all may have.
    void accountsChanged(const QList<QUuid> &ids);
    void eventsChanged();
    void selectedDestinationChanged();
    void searchQueryChanged();
    void nowChanged();
    void preferencesChanged();
    void isLoadedChanged();
    void lastErrorMessageChanged();

private:
    enum Change { ServicesChanged = 1, AccountsChanged = 2, EventsChanged = 4 };

    void handleTick(const QDateTime &date);
    void setNow(const QDateTime &now);
    void setPreferencesValue(const Preferences &preferences);
    void setLastErrorMessage(std::optional<QString> message);
    void notifyChanged(int changes, const QList<QUuid> &accountIds = {});
    // Repairs a state read from disk or from a backup; true when anything changed.
    static bool normalizeLoadedState(AccountsState &state);
    // Makes `state` the store's data; a selected service it lacks falls back to all accounts.
    void adoptState(AccountsState state);
    void persistState();
    void reportSave(const Result<void> &saved);
    void appendEvent(const QUuid &accountId, AccountEventType type, const QString &details);
    void checkRestoredNotifications();
    Preferences applyPreferencesRuntime(const Preferences &preferences);
    Result<void> applyImportedPayload(const BackupPayload &payload, BackupImportMode mode);
    Account *findAccount(const QUuid &id);
    void indexAccountsFrom(qsizetype position);
    bool hasServiceNamed(const QString &name, const std::optional<QUuid> &except) const;

    AccountsStoreServices m_deps;

    QList<Service> m_services;
    QList<Account> m_accounts;
    QHash<QUuid, qsizetype> m_accountPositions;
    QList<AccountEvent> m_events;
    int m_eventsRevision = 0;
    DashboardDestination m_selectedDestination;
    QString m_searchQuery;
    QDateTime m_now;
    Preferences m_preferences;
    bool m_isLoaded = false;
    std::optional<QString> m_lastErrorMessage;

    QMetaObject::Connection m_timerConnection;
    QHash<QUuid, QDateTime> m_lastNotifiedRestore;
    bool m_restoresChecked = false;
    std::optional<QDateTime> m_nextRestoreToCheck;

    // The counts the window reads on every tick, valid from `since` until the
    // next restore; dropped whenever an account changes.
    struct Counts {
        int live = 0;
        int running = 0;
        std::optional<QDateTime> nextReset;
        QDateTime since;
    };
    const Counts &counts() const;
    mutable std::optional<Counts> m_counts;
};
