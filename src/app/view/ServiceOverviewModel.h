#pragma once

#include "RecordListModel.h"
#include "store/AccountsStore.h"

// One zone per service for the overview cards; refreshed on every tick.
class ServiceOverviewModel : public RecordListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        ServiceIdRole = Qt::UserRole + 1,
        ServiceNameRole,
        RestoredCountRole,
        ActiveCountRole,
        NextResetTextRole, // the date text of the nearest restore, empty when none
        RestoredAccountNamesRole,
    };

    explicit ServiceOverviewModel(const AccountsStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return int(m_rows.size()); }

signals:
    void countChanged();

private:
    void refresh(bool allChanged);

    const AccountsStore &m_store;
    QList<ServiceOverview> m_rows;
};
