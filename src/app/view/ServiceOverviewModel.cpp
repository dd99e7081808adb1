#include "ServiceOverviewModel.h"

#include "formatting/DateText.h"
#include "model/JsonCoding.h"

#include <algorithm>

ServiceOverviewModel::ServiceOverviewModel(const AccountsStore &store, QObject *parent)
    : RecordListModel(parent)
    , m_store(store)
{
    connect(&store, &AccountsStore::accountsChanged, this, [this](const QList<QUuid> &ids) {
        if (ids.isEmpty())
            refresh();
        else
            update(ids);
    });
    connect(&store, &AccountsStore::servicesChanged, this, &ServiceOverviewModel::refresh);
    connect(&store, &AccountsStore::nowChanged, this, &ServiceOverviewModel::followClock);
    // The date texts of every card.
    connect(&store, &AccountsStore::preferencesChanged, this, [this] {
        if (!m_rows.isEmpty())
            emit dataChanged(index(0), index(int(m_rows.size()) - 1));
    });
    refresh();
}

void ServiceOverviewModel::refresh()
{
    m_members.clear();
    m_serviceOf.clear();
    for (const Account &account : m_store.accounts()) {
        if (account.isArchived)
            continue;
        m_members[account.serviceId].append(account.id);
        m_serviceOf.insert(account.id, account.serviceId);
    }
    m_clock = m_store.now();
    if (replaceRows(m_rows, m_store.serviceOverviews(), false))
        emit countChanged();
}

void ServiceOverviewModel::update(const QList<QUuid> &accountIds)
{
    QSet<QUuid> touched;
    for (const QUuid &id : accountIds) {
        if (const auto was = m_serviceOf.constFind(id); was != m_serviceOf.cend()) {
            touched.insert(*was);
            m_members[*was].removeOne(id);
            m_serviceOf.erase(was);
        }
        const Account *account = m_store.account(id);
        if (!account || account->isArchived)
            continue;
        touched.insert(account->serviceId);
        m_members[account->serviceId].append(id);
        m_serviceOf.insert(id, account->serviceId);
    }
    recompute(touched);
}

void ServiceOverviewModel::followClock()
{
    // The cards count restored and running accounts: they change when the
    // clock reaches a card's nearest restore, or is set back.
    const QDateTime now = m_store.now();
    QSet<QUuid> due;
    for (const ServiceOverview &overview : std::as_const(m_rows))
        if (now < m_clock || (overview.nextReset && *overview.nextReset <= now))
            due.insert(overview.id);
    m_clock = now;
    recompute(due);
}

void ServiceOverviewModel::recompute(const QSet<QUuid> &serviceIds)
{
    for (qsizetype row = 0; row < m_rows.size(); ++row) {
        const QUuid serviceId = m_rows[row].id;
        const Service *service = serviceIds.contains(serviceId) ? m_store.findService(serviceId) : nullptr;
        if (!service)
            continue;
        QList<const Account *> accounts;
        for (const QUuid &id : std::as_const(m_members[serviceId]))
            accounts.append(m_store.account(id));
        // Restored accounts of one moment are named in stored order.
        std::sort(accounts.begin(), accounts.end(), [this](const Account *a, const Account *b) {
            return m_store.accountPosition(a->id) < m_store.accountPosition(b->id);
        });
        ServiceOverview overview = m_store.serviceOverview(*service, accounts);
        if (overview == m_rows[row])
            continue;
        m_rows[row] = std::move(overview);
        emit dataChanged(index(int(row)), index(int(row)));
    }
}

const ServiceOverview *ServiceOverviewModel::overview(const QUuid &serviceId) const
{
    for (const ServiceOverview &overview : m_rows)
        if (overview.id == serviceId)
            return &overview;
    return nullptr;
}

int ServiceOverviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ServiceOverviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ServiceOverview &overview = m_rows[index.row()];
    switch (role) {
    case ServiceIdRole: return JsonCoding::uuidString(overview.id);
    case ServiceNameRole: return overview.serviceName;
    case RestoredCountRole: return overview.restoredCount;
    case ActiveCountRole: return overview.activeCount;
    case NextResetTextRole:
        return overview.nextReset ? DateText::dateTime(*overview.nextReset, m_store.preferences()) : QString();
    case RestoredAccountNamesRole: return overview.restoredAccountNames;
    }
    return {};
}

QHash<int, QByteArray> ServiceOverviewModel::roleNames() const
{
    return {{ServiceIdRole, "serviceId"},         {ServiceNameRole, "serviceName"},
            {RestoredCountRole, "restoredCount"}, {ActiveCountRole, "activeCount"},
            {NextResetTextRole, "nextResetText"}, {RestoredAccountNamesRole, "restoredAccountNames"}};
}
