#include "ServiceListModel.h"

#include "model/JsonCoding.h"

ServiceListModel::ServiceListModel(const AccountsStore &store, QObject *parent)
    : RecordListModel(parent)
    , m_store(store)
{
    connect(&store, &AccountsStore::servicesChanged, this, &ServiceListModel::refresh);
    refresh();
}

void ServiceListModel::refresh()
{
    if (replaceRows(m_rows, m_store.sidebarServices(), false))
        emit countChanged();
}

int ServiceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ServiceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Service &service = m_rows[index.row()];
    switch (role) {
    case ServiceIdRole: return JsonCoding::uuidString(service.id);
    case NameRole: return service.name;
    case IsSystemRole: return service.isSystem;
    }
    return {};
}

QHash<int, QByteArray> ServiceListModel::roleNames() const
{
    return {{ServiceIdRole, "serviceId"}, {NameRole, "name"}, {IsSystemRole, "isSystem"}};
}

QVariantList ServiceListModel::toList() const
{
    QVariantList list;
    for (const Service &service : m_rows)
        list.append(QVariantMap{{QStringLiteral("serviceId"), JsonCoding::uuidString(service.id)},
                                {QStringLiteral("name"), service.name},
                                {QStringLiteral("isSystem"), service.isSystem}});
    return list;
}
