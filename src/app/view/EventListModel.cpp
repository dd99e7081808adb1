#include "EventListModel.h"

#include "formatting/DateText.h"
#include "model/JsonCoding.h"

#include <algorithm>

EventListModel::EventListModel(const AccountsStore &store, QObject *parent)
    : QAbstractListModel(parent)
    , m_store(store)
{
    connect(&store, &AccountsStore::eventsChanged, this, &EventListModel::update);
    connect(&store, &AccountsStore::searchQueryChanged, this, [this] {
        m_outdated = true;
        update();
    });
    // A renamed account changes its rows' names; with a search it may also
    // change which rows match, and only then are the rows derived anew.
    connect(&store, &AccountsStore::accountsChanged, this, [this](const QList<QUuid> &ids) {
        const auto matchChanged = [this](const QUuid &id) {
            return m_store.eventsMatchByName(id) != m_matchedByName.contains(id);
        };
        if (m_store.searchQuery().trimmed().isEmpty()
            || (!ids.isEmpty() && std::none_of(ids.cbegin(), ids.cend(), matchChanged))) {
            announceAllRows(AccountNameRole);
            return;
        }
        m_outdated = true;
        update();
    });
    connect(&store, &AccountsStore::preferencesChanged, this, [this] { announceAllRows(TimestampTextRole); });
}

void EventListModel::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    emit activeChanged();
    update();
}

void EventListModel::update()
{
    if (!m_active)
        return;
    if (m_outdated || m_revision != m_store.eventsRevision() || m_seen > m_store.events().size())
        refresh();
    else
        insertAppended();
}

void EventListModel::refresh()
{
    beginResetModel();
    m_rows = m_store.filteredEventIndexes();
    m_matchedByName.clear();
    if (!m_store.searchQuery().trimmed().isEmpty())
        for (const Account &account : m_store.accounts())
            if (m_store.eventsMatchByName(account.id))
                m_matchedByName.insert(account.id);
    m_seen = m_store.events().size();
    m_revision = m_store.eventsRevision();
    m_outdated = false;
    endResetModel();
    emit countChanged();
}

void EventListModel::insertAppended()
{
    const QList<AccountEvent> &events = m_store.events();
    if (m_seen == events.size())
        return;
    QList<qsizetype> appended = m_store.filteredEventIndexes(m_seen);
    m_seen = events.size();
    // In log order: each goes after the rows of its moment (earlier in the
    // log) and before older ones, where a sort of the whole log puts it.
    std::sort(appended.begin(), appended.end());
    for (const qsizetype index : std::as_const(appended)) {
        const QDateTime &timestamp = events[index].timestamp;
        qsizetype row = 0;
        while (row < m_rows.size() && events[m_rows[row]].timestamp >= timestamp)
            ++row;
        beginInsertRows({}, int(row), int(row));
        m_rows.insert(row, index);
        endInsertRows();
    }
    if (!appended.isEmpty())
        emit countChanged();
}

void EventListModel::announceAllRows(int role)
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0), index(int(m_rows.size()) - 1), {role});
}

int EventListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant EventListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const AccountEvent &event = m_store.events().at(m_rows[index.row()]);
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
