#pragma once

#include "store/AccountsStore.h"

#include <QAbstractListModel>
#include <QSet>

// The history rows (the store's filteredEvents). The log can hold a hundred
// thousand events, so rows are positions in the store's log, derived only
// while the history is shown; events appended since are inserted one by one,
// and the texts of a row are made when the view asks for them.
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
    void update();
    void refresh();
    void insertAppended();
    void announceAllRows(int role);

    const AccountsStore &m_store;
    QList<qsizetype> m_rows;
    // The events of the log taken in, and the log's revision they belong to.
    qsizetype m_seen = 0;
    int m_revision = -1;
    bool m_active = false;
    // The search changed (or, with a search, the names): derive every row anew.
    bool m_outdated = true;
    // The accounts whose every event the search took by name when the rows were derived.
    QSet<QUuid> m_matchedByName;
};
