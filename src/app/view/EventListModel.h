#pragma once

#include "store/AccountsStore.h"

#include <QAbstractListModel>

// The history rows (the store's filteredEvents). The log can hold a hundred
// thousand events, so it is only rebuilt while the history is shown, and the
// texts of a row are made when the view asks for them.
class EventListModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)
public:
    enum Role { EventIdRole = Qt::UserRole + 1, AccountNameRole, DetailsRole, TimestampTextRole, TypeRole };

    explicit EventListModel(const AccountsStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return int(m_rows.size()); }

    bool isActive() const { return m_active; }
    void setActive(bool active);

signals:
    void countChanged();
    void activeChanged();

private:
    void refresh();

    const AccountsStore &m_store;
    QList<AccountEvent> m_rows;
    bool m_active = false;
    bool m_stale = true;
};
