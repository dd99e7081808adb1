#pragma once

#include "RecordListModel.h"
#include "store/AccountsStore.h"

// The sidebar's services, system service first.
class ServiceListModel : public RecordListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role { ServiceIdRole = Qt::UserRole + 1, NameRole, IsSystemRole };

    explicit ServiceListModel(const AccountsStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return int(m_rows.size()); }

    // For pickers: [{serviceId, name, isSystem}] in sidebar order.
    Q_INVOKABLE QVariantList toList() const;

signals:
    void countChanged();

private:
    void refresh();

    const AccountsStore &m_store;
    QList<Service> m_rows;
};
