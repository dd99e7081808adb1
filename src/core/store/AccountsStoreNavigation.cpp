// Navigation, filters and summaries, derived from the store's lists and its
// `now`. Only the counts are kept between reads.
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

// Events of a deleted account match by their details only.
bool nameContains(const Account *account, QStringView loweredQuery, LowerCaseBuffer &buffer)
{
    return account && lowerCaseContains(account->name, loweredQuery, buffer);
}

QList<Account> newestAccountsFirst(const QList<Account> &accounts)
{
    return sortedNewestFirst(accounts, [](const Account &a) { return a.createdAt.toMSecsSinceEpoch(); });
}

// Which accounts the selected destination lists under the search. Built once
// per read, so a list's worth of accounts share the lower-cased query.
class ShownFilter {
public:
    ShownFilter(const DashboardDestination &destination, const QString &searchQuery, const QDateTime &now)
        : m_destination(destination)
        , m_query(searchQuery.trimmed().toLower())
        , m_nowMs(now.toMSecsSinceEpoch())
    {}

    bool operator()(const Account &account)
    {
        if (!inDestination(account))
            return false;
        return m_query.isEmpty() || lowerCaseContains(account.name, m_query, m_buffer)
            || lowerCaseContains(account.note, m_query, m_buffer);
    }

private:
    bool inDestination(const Account &account) const
    {
        if (m_destination.isService())
            return !account.isArchived && account.serviceId == m_destination.serviceId;
        switch (m_destination.section) {
        case DashboardSection::all: return !account.isArchived;
        case DashboardSection::active: return !account.isArchived && isRunning(account, m_nowMs);
        case DashboardSection::archive: return account.isArchived;
        case DashboardSection::history:
        case DashboardSection::support:
        case DashboardSection::about: return false;
        }
        return false;
    }

    const DashboardDestination &m_destination;
    const QString m_query;
    const qint64 m_nowMs;
    LowerCaseBuffer m_buffer;
};

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
    ShownFilter shown(m_selectedDestination, m_searchQuery, m_now);
    QList<Account> matching;
    for (const Account &account : m_accounts)
        if (shown(account))
            matching.append(account);
    return newestAccountsFirst(matching);
}

bool AccountsStore::isShown(const Account &account) const
{
    return ShownFilter(m_selectedDestination, m_searchQuery, m_now)(account);
}

bool AccountsStore::isListedBefore(const Account &a, const Account &b) const
{
    if (a.createdAt != b.createdAt)
        return a.createdAt > b.createdAt;
    return accountPosition(a.id) < accountPosition(b.id);
}

bool AccountsStore::shownAccountsFollowClock() const
{
    return !m_selectedDestination.isService() && m_selectedDestination.section == DashboardSection::active;
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

    // Whether an account matches by name is decided once per account, not
    // per event, and only for the accounts of the events looked at.
    LowerCaseBuffer buffer;
    QHash<QUuid, bool> nameMatches;
    for (qsizetype i = from; i < m_events.size(); ++i) {
        const AccountEvent &event = m_events[i];
        auto nameMatch = nameMatches.constFind(event.accountId);
        if (nameMatch == nameMatches.cend())
            nameMatch = nameMatches.insert(event.accountId, nameContains(account(event.accountId), query, buffer));
        if (*nameMatch || lowerCaseContains(event.details, query, buffer))
            matching.append(i);
    }
    return newestEventsFirst(m_events, std::move(matching));
}

bool AccountsStore::eventsMatchByName(const QUuid &accountId) const
{
    const QString query = m_searchQuery.trimmed().toLower();
    LowerCaseBuffer buffer;
    return !query.isEmpty() && nameContains(account(accountId), query, buffer);
}

const AccountsStore::Counts &AccountsStore::counts() const
{
    // Between two restores only the countdowns move: the counts stay.
    if (m_counts && m_now >= m_counts->since && (!m_counts->nextReset || m_now < *m_counts->nextReset))
        return *m_counts;
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    Counts counts;
    counts.since = m_now;
    for (const Account &account : m_accounts) {
        if (account.isArchived)
            continue;
        ++counts.live;
        if (!isRunning(account, nowMs))
            continue;
        ++counts.running;
        if (!counts.nextReset || *account.resetAt < *counts.nextReset)
            counts.nextReset = account.resetAt;
    }
    m_counts = counts;
    return *m_counts;
}

int AccountsStore::totalCount() const
{
    return counts().live;
}

int AccountsStore::activeCount() const
{
    return counts().running;
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
    return counts().nextReset;
}

QList<ServiceOverview> AccountsStore::serviceOverviews() const
{
    // One pass over the accounts, grouped by service.
    QHash<QUuid, QList<const Account *>> byService;
    for (const Account &account : m_accounts)
        if (!account.isArchived)
            byService[account.serviceId].append(&account);

    QList<ServiceOverview> overviews;
    for (const Service &service : sidebarServices())
        overviews.append(serviceOverview(service, byService.value(service.id)));
    return overviews;
}

ServiceOverview AccountsStore::serviceOverview(const Service &service, const QList<const Account *> &accounts) const
{
    const qint64 nowMs = m_now.toMSecsSinceEpoch();
    ServiceOverview overview;
    overview.id = service.id;
    overview.serviceName = service.name;
    QList<Account> restored;
    for (const Account *account : accounts) {
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
    return overview;
}

AccountLimitStatus AccountsStore::status(const Account &account) const
{
    return LimitPolicy::status(account, m_now);
}

QString AccountsStore::accountName(const QUuid &accountId) const
{
    if (const Account *found = account(accountId))
        return found->name;
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
