#pragma once

// In-memory fakes of the store's services, and a harness that wires a store
// to them. Tests drive the store through its public operations and inspect
// the fakes.

#include "model/JsonCoding.h"
#include "store/AccountsStore.h"

#include <QStringList>

struct FakeAccountRepository : AccountRepository {
    AccountsState stored;
    std::optional<Error> loadError;
    std::optional<Error> saveError;
    int loadCount = 0;
    int saveCount = 0;

    Result<AccountsState> loadState() override
    {
        ++loadCount;
        return loadError ? Result<AccountsState>(*loadError) : stored;
    }
    Result<void> saveState(const AccountsState &state) override
    {
        ++saveCount;
        if (saveError)
            return *saveError;
        stored = state;
        return {};
    }
};

struct FakePreferencesRepository : PreferencesRepository {
    Preferences stored;
    QList<Preferences> saved;

    Preferences loadPreferences() override { return stored; }
    void savePreferences(const Preferences &preferences) override { saved.append(stored = preferences); }
};

struct FixedDateProvider : DateProviding {
    QDateTime current;
    QDateTime now() const override { return current; }
};

class ManualTicker : public TimerTicking {
public:
    int startCount = 0;
    void start() override { ++startCount; }
    void stop() override {}
    void fire(const QDateTime &date) { emit tick(date); }
};

struct FakeAutostart : AutostartService {
    bool failing = false;
    QList<bool> calls;

    Result<void> setEnabled(bool enabled) override
    {
        calls.append(enabled);
        return failing ? Result<void>(Error::make(Error::Kind::OperationFailed)) : Result<void>();
    }
    AutostartStatus status() const override { return AutostartStatus::disabled; }
};

struct FakeNotifications : NotificationsService {
    QStringList sent;

    void requestAuthorization(std::function<void(bool)> done) override { done(true); }
    void authorizationStatus(std::function<void(int)> done) override { done(0); }
    void sendRestoredNotification(const QUuid &, const QString &accountName) override { sent.append(accountName); }
    void openSystemNotificationSettings() override {}
};

struct FakeClipboard : ClipboardService {
    QString text;
    bool secret = false;
    void setText(const QString &value, bool isSecret) override { text = value, secret = isSecret; }
};

struct FakeFilePanels : FilePanels {
    std::optional<QString> saveLocation;
    std::optional<QString> openLocation;
    std::optional<QString> chooseSaveLocation(const QString &) override { return saveLocation; }
    std::optional<QString> chooseOpenLocation() override { return openLocation; }
};

inline QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toUTC();
}

// A store on fakes; the clock starts at 2026-03-02T14:05:09Z and the stored
// state holds only the system service.
struct StoreHarness {
    std::shared_ptr<FakeAccountRepository> repository = std::make_shared<FakeAccountRepository>();
    std::shared_ptr<FakePreferencesRepository> preferences = std::make_shared<FakePreferencesRepository>();
    std::shared_ptr<FixedDateProvider> clock = std::make_shared<FixedDateProvider>();
    std::shared_ptr<ManualTicker> ticker = std::make_shared<ManualTicker>();
    std::shared_ptr<FakeAutostart> autostart = std::make_shared<FakeAutostart>();
    std::shared_ptr<FakeNotifications> notifications = std::make_shared<FakeNotifications>();
    std::shared_ptr<SecureTransferService> transfer;
    std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();
    std::shared_ptr<FakeFilePanels> panels = std::make_shared<FakeFilePanels>();
    QStringList applicationFiles; // that no backup may be written over
    std::unique_ptr<AccountsStore> store;

    explicit StoreHarness(std::shared_ptr<SecureTransferService> transferService = {})
        : transfer(std::move(transferService))
    {
        clock->current = utc("2026-03-02T14:05:09Z");
        repository->stored.services = {Service::systemService()};
    }

    AccountsStore &make()
    {
        store = std::make_unique<AccountsStore>(AccountsStoreServices{repository, preferences, clock, ticker, autostart,
                                                                      notifications, transfer, clipboard, panels,
                                                                      applicationFiles});
        return *store;
    }

    AccountsStore &loaded()
    {
        make().load();
        return *store;
    }

    void advance(qint64 seconds) { clock->current = clock->current.addSecs(seconds); }
};

inline Account makeAccount(const QString &name, const QUuid &serviceId = Service::systemID,
                           const QDateTime &createdAt = utc("2026-01-01T00:00:00Z"))
{
    return Account{QUuid::createUuid(), serviceId, name, {}, {}, createdAt, {}, {}, false, {}, false};
}

inline Service makeService(const QString &name, const QDateTime &createdAt = utc("2026-01-01T00:00:00Z"))
{
    return Service{QUuid::createUuid(), name, createdAt, false};
}

// The one element of a list; a list of any other size fails the test run.
template<typename T>
const T &only(const QList<T> &list)
{
    if (list.size() != 1)
        qFatal("expected exactly one element, got %lld", qlonglong(list.size()));
    return list.first();
}
