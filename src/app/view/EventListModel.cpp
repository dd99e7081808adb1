#include "EventListModel.h"

#include "formatting/DateText.h"
#include "model/JsonCoding.h"

EventListModel::EventListModel(const AccountsStore &store, QObject *parent)
    : QAbstractListModel(parent)
    , m_store(store)
{
    for (auto signal : {&AccountsStore::eventsChanged, &AccountsStore::accountsChanged,
                        &AccountsStore::searchQueryChanged, &AccountsStore::preferencesChanged})
        connect(&store, signal, this, &EventListModel::refresh);
}

void EventListModel::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    emit activeChanged();
    if (m_active && m_stale)
        refresh();
}

void EventListModel::refresh()
{
    if (!m_active) {
        m_stale = true;
        return;
    }
    m_stale = false;
    beginResetModel();
    m_rows = m_store.filteredEvents();
    endResetModel();
    emit countChanged();
}

int EventListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant EventListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const AccountEvent &event = m_rows[index.row()];
    switch (role) {
    case EventIdRole: return JsonCoding::uuidString(event.id);
    case AccountNameRole: return m_store.accountName(event.accountId);
    case DetailsRole: return event.details;
    case TimestampTextRole: return DateText::dateTime(event.timestamp, m_store.preferences());
    case TypeRole: return AccountEventTypes::rawValue(event.type);
    }
    return {};
}

QHash<int, QByteArray> EventListModel::roleNames() const
{
    return {{EventIdRole, "eventId"},
            {AccountNameRole, "accountName"},
            {DetailsRole, "details"},
            {TimestampTextRole, "timestampText"},
            {TypeRole, "eventType"}};
}
