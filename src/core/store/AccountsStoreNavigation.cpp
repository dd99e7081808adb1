// Navigation, filters and summaries. Everything here is derived on demand
// from the store's lists and its `now`; nothing is cached.
#include "AccountsStore.h"

#include <QVarLengthArray>

#include <algorithm>
#include <numeric>

namespace {

bool isRunning(const Account &account, qint64 nowMs)
{
    return account.resetAt && account.resetAt->toMSecsSinceEpoch() > nowMs;
}

bool isRestored(const Account &account, qint64 nowMs)
{
    return account.resetAt && account.resetAt->toMSecsSinceEpoch() <= nowMs;
}

using LowerCaseBuffer = QVarLengthArray<char16_t, 256>;

// Whether text.toLower() contains `loweredQuery`. The search walks every event
// on each read, and QString::toLower costs an allocation and a table look-up
// per character; for ASCII, basic Cyrillic and caseless punctuation, where
// toLower maps each UTF-16 unit to one unit by a fixed offset, the lower case
// is written into `buffer` instead. Any other character takes toLower itself.
bool lowerCaseContains(const QString &text, QStringView loweredQuery, LowerCaseBuffer &buffer)
{
    buffer.resize(text.size());
    char16_t *out = buffer.data();
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit < 0x80)
            *out++ = unit >= u'A' && unit <= u'Z' ? char16_t(unit + 0x20) : unit;
        else if (unit >= 0x0410 && unit <= 0x042F) // А..Я
            *out++ = char16_t(unit + 0x20);
        else if (unit >= 0x0400 && unit <= 0x040F) // Ѐ..Џ, Ё among them
            *out++ = char16_t(unit + 0x50);
        else if ((unit >= 0x0430 && unit <= 0x045F)     // а..я, ѐ..џ
                 || (unit >= 0x00A0 && unit <= 0x00BF)  // Latin-1 punctuation and signs
                 || (unit >= 0x2000 && unit <= 0x206F)  // dashes, quotes, spaces
                 || (unit >= 0x2190 && unit <= 0x21FF)) // arrows
            *out++ = unit;
        else
            return text.toLower().contains(loweredQuery);
    }
    return QStringView(buffer.data(), buffer.size()).contains(loweredQuery);
}

// Stable sort, newest first, on a key computed once per element.
template<typename T, typename Key>
QList<T> sortedNewestFirst(const QList<T> &items, Key key)
{
    QList<std::pair<qint64, qsizetype>> order;
    order.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        order.append({key(items[i]), i});
    std::stable_sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<T> sorted;
    sorted.reserve(items.size());
    for (const auto &entry : std::as_const(order))
        sorted.append(items[entry.second]);
    return sorted;
}

// Positions in `events`, newest first, events of the same moment in log
// order. The log is nearly always in time order, and is then walked backwards
// instead of sorted.
QList<qsizetype> newestEventsFirst(const QList<AccountEvent> &events, QList<qsizetype> indexes)
{
    QList<qint64> keys;
    keys.reserve(indexes.size());
    for (const qsizetype index : std::as_const(indexes))
        keys.append(events[index].timestamp.toMSecsSinceEpoch());
    if (!std::is_sorted(keys.cbegin(), keys.cend())) {
        QList<qsizetype> order(indexes.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) { return keys[a] > keys[b]; });
        QList<qsizetype> sorted;
        sorted.reserve(indexes.size());
        for (const qsizetype position : std::as_const(order))
            sorted.append(indexes[position]);
        return sorted;
    }
    QList<qsizetype> sorted;
    sorted.reserve(indexes.size());
    for (qsizetype end = indexes.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && keys[start - 1] == keys[end - 1])
            --start;
        for (qsizetype k = start; k < end; ++k)
            sorted.append(indexes[k]);
        end = start;
    }
    return sorted;
}

QList<Account> newestAccountsFirst(const QList<Account> &accounts)
{
    return sortedNewestFirst(accounts, [](const Account &a) { return a.createdAt.toMSecsSinceEpoch(); });
}

} // namespace

DashboardSection AccountsStore::selectedSection() const
{
    return m_selectedDestination.isService() ? DashboardSection::all : m_selectedDestination.section;
}

std::optional<DashboardSection> AccountsStore::selectedStaticSection() const
{
    if (m_selectedDestination.isService())
        return std::nullopt;
    return m_selectedDestination.section;
}

std::optional<QUuid> AccountsStore::selectedServiceId() const
{
    if (!m_selectedDestination.isService())
        return std::nullopt;
    return m_selectedDestination.serviceId;
}

std::optional<Service> AccountsStore::selectedService() const
{
    const auto id = selectedServiceId();
    if (!id)
        return std::nullopt;
    if (const Service *service = findService(*id))
        return *service;
    return std::nullopt;
}

QList<Account> AccountsStore::liveAccounts() const
{
    QList<Account> live;
    live.reserve(m_accounts.size());
    for (const Account &account : m_accounts)
        if (!account.isArchived)
            live.append(account);
    return live;
}

QList<Account> AccountsStore::filteredAccounts() const
{
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    std::function<bool(const Account &)> inBase;
    if (m_selectedDestination.isService()) {
        const QUuid serviceId = m_selectedDestination.serviceId;
        inBase = [serviceId](const Account &a) { return !a.isArchived && a.serviceId == serviceId; };
    } else {
        switch (m_selectedDestination.section) {
        case DashboardSection::all: inBase = [](const Account &a) { return !a.isArchived; }; break;
        case DashboardSection::active:
            inBase = [nowMs](const Account &a) { return !a.isArchived && isRunning(a, nowMs); };
            break;
        case DashboardSection::archive: inBase = [](const Account &a) { return a.isArchived; }; break;
        case DashboardSection::history:
        case DashboardSection::support:
        case DashboardSection::about: return {};
        }
    }

    const QString query = m_searchQuery.trimmed().toLower();
    LowerCaseBuffer buffer;
    QList<Account> matching;
    for (const Account &account : m_accounts) {
        if (!inBase(account))
            continue;
        if (!query.isEmpty() && !lowerCaseContains(account.name, query, buffer)
            && !lowerCaseContains(account.note, query, buffer))
            continue;
        matching.append(account);
    }
    return newestAccountsFirst(matching);
}

QList<AccountEvent> AccountsStore::filteredEvents() const
{
    QList<AccountEvent> events;
    const QList<qsizetype> indexes = filteredEventIndexes();
    events.reserve(indexes.size());
    for (const qsizetype index : indexes)
        events.append(m_events[index]);
    return events;
}

QList<qsizetype> AccountsStore::filteredEventIndexes(qsizetype from) const
{
    const QString query = m_searchQuery.trimmed().toLower();
    QList<qsizetype> matching;
    if (query.isEmpty()) {
        matching.resize(m_events.size() - from);
        std::iota(matching.begin(), matching.end(), from);
        return newestEventsFirst(m_events, std::move(matching));
    }

    // Which accounts match by name is decided once per account, not per event.
    LowerCaseBuffer buffer;
    QHash<QUuid, bool> nameMatches;
    nameMatches.reserve(m_accounts.size());
    for (const Account &account : m_accounts)
        if (!nameMatches.contains(account.id))
            nameMatches.insert(account.id, lowerCaseContains(account.name, query, buffer));

    for (qsizetype i = from; i < m_events.size(); ++i) {
        const AccountEvent &event = m_events[i];
        if (nameMatches.value(event.accountId, false) || lowerCaseContains(event.details, query, buffer))
            matching.append(i);
    }
    return newestEventsFirst(m_events, std::move(matching));
}

int AccountsStore::totalCount() const
{
    return int(std::count_if(m_accounts.cbegin(), m_accounts.cend(), [](const Account &a) { return !a.isArchived; }));
}

int AccountsStore::activeCount() const
{
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    return int(std::count_if(m_accounts.cbegin(), m_accounts.cend(),
                             [nowMs](const Account &a) { return !a.isArchived && isRunning(a, nowMs); }));
}

int AccountsStore::servicesCount() const
{
    return int(std::count_if(m_services.cbegin(), m_services.cend(), [](const Service &s) { return !s.isSystem; }));
}

QList<Account> AccountsStore::restoredAccounts() const
{
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    QList<Account> restored;
    for (const Account &account : m_accounts)
        if (!account.isArchived && isRestored(account, nowMs))
            restored.append(account);
    return newestAccountsFirst(restored);
}

std::optional<QDateTime> AccountsStore::nextResetDate() const
{
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    std::optional<QDateTime> earliest;
    for (const Account &account : m_accounts) {
        if (account.isArchived || !isRunning(account, nowMs))
            continue;
        if (!earliest || *account.resetAt < *earliest)
            earliest = account.resetAt;
    }
    return earliest;
}

QList<ServiceOverview> AccountsStore::serviceOverviews() const
{
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    const QList<Service> ordered = sidebarServices();

    // One pass over the accounts, grouped by service.
    QHash<QUuid, QList<const Account *>> byService;
    for (const Account &account : m_accounts)
        if (!account.isArchived)
            byService[account.serviceId].append(&account);

    QList<ServiceOverview> overviews;
    overviews.reserve(ordered.size());
    for (const Service &service : ordered) {
        ServiceOverview overview;
        overview.id = service.id;
        overview.serviceName = service.name;
        QList<Account> restored;
        for (const Account *account : byService.value(service.id)) {
            if (isRestored(*account, nowMs)) {
                restored.append(*account);
            } else if (isRunning(*account, nowMs)) {
                ++overview.activeCount;
                if (!overview.nextReset || *account->resetAt < *overview.nextReset)
                    overview.nextReset = account->resetAt;
            }
        }
        overview.restoredCount = int(restored.size());
        for (const Account &account : newestAccountsFirst(restored))
            overview.restoredAccountNames.append(account.name);
        overviews.append(overview);
    }
    return overviews;
}

AccountLimitStatus AccountsStore::status(const Account &account) const
{
    return LimitPolicy::status(account, m_now);
}

QString AccountsStore::accountName(const QUuid &accountId) const
{
    for (const Account &account : m_accounts)
        if (account.id == accountId)
            return account.name;
    return QStringLiteral("Неизвестный аккаунт");
}

QString AccountsStore::serviceName(const QUuid &serviceId) const
{
    if (const Service *service = findService(serviceId))
        return service->name;
    return Service::systemName;
}

void AccountsStore::selectSection(DashboardSection section)
{
    setSelectedDestination(DashboardDestination::forSection(section));
}

void AccountsStore::selectService(const QUuid &serviceId)
{
    if (findService(serviceId))
        setSelectedDestination(DashboardDestination::forService(serviceId));
}
