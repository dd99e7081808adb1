#include "ServiceOverviewModel.h"

#include "formatting/DateText.h"
#include "model/JsonCoding.h"

ServiceOverviewModel::ServiceOverviewModel(const AccountsStore &store, QObject *parent)
    : QAbstractListModel(parent), m_store(store)
{
    for (auto signal : {&AccountsStore::accountsChanged, &AccountsStore::servicesChanged,
                        &AccountsStore::nowChanged, &AccountsStore::preferencesChanged})
        connect(&store, signal, this, &ServiceOverviewModel::refresh);
    refresh();
}

void ServiceOverviewModel::refresh()
{
    QList<ServiceOverview> rows = m_store.serviceOverviews();
    const bool sameZones = rows.size() == m_rows.size()
        && std::equal(rows.cbegin(), rows.cend(), m_rows.cbegin(),
                      [](const ServiceOverview &a, const ServiceOverview &b) { return a.id == b.id; });
    if (sameZones) {
        m_rows = std::move(rows);
        if (!m_rows.isEmpty())
            emit dataChanged(index(0), index(int(m_rows.size()) - 1));
        return;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    emit countChanged();
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
