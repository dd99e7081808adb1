#include "AccountsStore.h"

#include <QSet>

const QString AccountsStore::launchAtLoginFailedMessage =
    QStringLiteral("Не удалось применить автозапуск. Проверьте, что папка автозапуска ~/.config/autostart "
                   "доступна для записи, затем попробуйте снова.");
const QString AccountsStore::duplicateServiceNameMessage = QStringLiteral("Сервис с таким названием уже существует.");
const QString AccountsStore::defaultBackupFileName = QStringLiteral("limits-backup.json");

AccountsStore::AccountsStore(AccountsStoreServices services, QObject *parent)
    : QObject(parent)
    , m_deps(std::move(services))
    , m_now(m_deps.dateProvider->now())
    , m_preferences(m_deps.preferencesRepository->loadPreferences())
{}

AccountsStore::~AccountsStore()
{
    // Dropping the subscription ends it; the ticker itself is never stopped here.
    disconnect(m_timerConnection);
    flushSaves();
}

void AccountsStore::flushSaves()
{
    m_deps.accountRepository->waitForSaves();
}

void AccountsStore::load()
{
    if (m_isLoaded)
        return;
    m_isLoaded = true;
    emit isLoadedChanged();

    Result<AccountsState> loaded = m_deps.accountRepository->loadState();
    if (loaded) {
        AccountsState state = std::move(loaded).value();
        const bool repaired = normalizeLoadedState(state);
        adoptState(std::move(state));
        setLastErrorMessage(std::nullopt);
        if (repaired)
            persistState();
    } else {
        setLastErrorMessage(QStringLiteral("Не удалось загрузить данные: ") + loaded.error().localizedDescription());
    }

    m_timerConnection = connect(m_deps.timerTicker.get(), &TimerTicking::tick, this, &AccountsStore::handleTick);
    m_deps.timerTicker->start();
}

void AccountsStore::clearError()
{
    setLastErrorMessage(std::nullopt);
}

bool AccountsStore::normalizeLoadedState(AccountsState &state)
{
    bool changed = false;

    QSet<QUuid> seen;
    QList<Service> kept;
    kept.reserve(state.services.size());
    for (const Service &service : std::as_const(state.services)) {
        if (seen.contains(service.id)) {
            changed = true;
            continue;
        }
        seen.insert(service.id);
        kept.append(service);
    }
    state.services = std::move(kept);

    auto system = std::find_if(state.services.begin(), state.services.end(),
                               [](const Service &s) { return s.id == Service::systemID; });
    if (system != state.services.end()) {
        if (system->name != Service::systemName) {
            system->name = Service::systemName;
            changed = true;
        }
        if (!system->isSystem) {
            system->isSystem = true;
            changed = true;
        }
    } else {
        state.services.prepend(Service::systemService());
        changed = true;
    }

    for (Service &service : state.services) {
        if (service.id != Service::systemID && service.isSystem) {
            service.isSystem = false;
            changed = true;
        }
    }

    QSet<QUuid> validIds;
    for (const Service &service : std::as_const(state.services))
        validIds.insert(service.id);

    // Lists are keyed by account id: a later duplicate keeps its data under a
    // fresh id instead of being dropped.
    QSet<QUuid> accountIds;
    for (Account &account : state.accounts) {
        if (!validIds.contains(account.serviceId)) {
            account.serviceId = Service::systemID;
            changed = true;
        }
        if (accountIds.contains(account.id)) {
            account.id = QUuid::createUuid();
            changed = true;
        }
        accountIds.insert(account.id);
    }
    return changed;
}

void AccountsStore::adoptState(AccountsState state)
{
    m_services = std::move(state.services);
    m_accounts = std::move(state.accounts);
    m_events = std::move(state.events);
    indexAccountsFrom(0);
    ++m_eventsRevision;
    if (m_selectedDestination.isService() && !findService(m_selectedDestination.serviceId))
        setSelectedDestination(DashboardDestination::forSection(DashboardSection::all));
    notifyChanged(ServicesChanged | AccountsChanged | EventsChanged);
}

void AccountsStore::persistState()
{
    // Handing over the lists shares them; the next change copies what it changes.
    m_deps.accountRepository->requestSave(AccountsState{m_services, m_accounts, m_events}, this,
                                          [this](const Result<void> &saved) { reportSave(saved); });
}

void AccountsStore::reportSave(const Result<void> &saved)
{
    if (saved)
        setLastErrorMessage(std::nullopt);
    else
        setLastErrorMessage(QStringLiteral("Не удалось сохранить данные: ") + saved.error().localizedDescription());
}

void AccountsStore::setSelectedDestination(const DashboardDestination &destination)
{
    if (m_selectedDestination == destination)
        return;
    m_selectedDestination = destination;
    emit selectedDestinationChanged();
}

void AccountsStore::setSelectedDestinationId(const QString &id)
{
    if (const auto destination = DashboardDestination::fromId(id))
        setSelectedDestination(*destination);
}

void AccountsStore::setSearchQuery(const QString &query)
{
    if (m_searchQuery == query)
        return;
    m_searchQuery = query;
    emit searchQueryChanged();
}

void AccountsStore::setNow(const QDateTime &now)
{
    if (m_now == now)
        return;
    m_now = now;
    emit nowChanged();
}

void AccountsStore::setPreferencesValue(const Preferences &preferences)
{
    if (m_preferences == preferences)
        return;
    m_preferences = preferences;
    emit preferencesChanged();
}

void AccountsStore::setLastErrorMessage(std::optional<QString> message)
{
    if (m_lastErrorMessage == message)
        return;
    m_lastErrorMessage = std::move(message);
    emit lastErrorMessageChanged();
}

void AccountsStore::notifyChanged(int changes, const QList<QUuid> &accountIds)
{
    if (changes & AccountsChanged) {
        m_counts.reset();
        m_restoresChecked = false;
    }
    // Accounts before services: on a load the window's list takes its rows
    // before the cards above it grow; the other way round it dropped rows it
    // had just made.
    if (changes & AccountsChanged)
        emit accountsChanged(accountIds);
    if (changes & ServicesChanged)
        emit servicesChanged();
    if (changes & EventsChanged)
        emit eventsChanged();
}

Account *AccountsStore::findAccount(const QUuid &id)
{
    const qsizetype position = accountPosition(id);
    return position < 0 ? nullptr : &m_accounts[position];
}

const Account *AccountsStore::account(const QUuid &id) const
{
    const qsizetype position = accountPosition(id);
    return position < 0 ? nullptr : &m_accounts[position];
}

void AccountsStore::indexAccountsFrom(qsizetype position)
{
    if (position == 0) {
        m_accountPositions.clear();
        m_accountPositions.reserve(m_accounts.size());
    }
    for (qsizetype i = position; i < m_accounts.size(); ++i)
        m_accountPositions.insert(m_accounts[i].id, i);
}

const Service *AccountsStore::findService(const QUuid &id) const
{
    for (const Service &service : m_services)
        if (service.id == id)
            return &service;
    return nullptr;
}
