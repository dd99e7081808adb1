#include "ServiceOverviewModel.h"

#include "formatting/DateText.h"
#include "model/JsonCoding.h"

ServiceOverviewModel::ServiceOverviewModel(const AccountsStore &store, QObject *parent)
    : RecordListModel(parent)
    , m_store(store)
{
    for (auto signal : {&AccountsStore::accountsChanged, &AccountsStore::servicesChanged, &AccountsStore::nowChanged})
        connect(&store, signal, this, [this] { refresh(false); });
    // The date texts of every card.
    connect(&store, &AccountsStore::preferencesChanged, this, [this] { refresh(true); });
    refresh(false);
}

void ServiceOverviewModel::refresh(bool allChanged)
{
    if (replaceRows(m_rows, m_store.serviceOverviews(), allChanged))
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
