#pragma once

#include "RecordListModel.h"
#include "store/AccountsStore.h"

#include <QHash>
#include <QSet>

// One zone per service for the overview cards. An operation recomputes the
// cards of the services its accounts were and are in; the clock changes the
// cards only when it passes a restore moment.
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
    const ServiceOverview *overview(const QUuid &serviceId) const;

signals:
    void countChanged();

private:
    void refresh();
    void update(const QList<QUuid> &accountIds);
    void followClock();
    // Recomputes the cards of these services from their members.
    void recompute(const QSet<QUuid> &serviceIds);

    const AccountsStore &m_store;
    QList<ServiceOverview> m_rows;
    // The unarchived accounts by service, and each one's service.
    QHash<QUuid, QList<QUuid>> m_members;
    QHash<QUuid, QUuid> m_serviceOf;
    QDateTime m_clock;
};
