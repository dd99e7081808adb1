#include "AccountListModel.h"

#include "formatting/DateText.h"
#include "formatting/RemainingTimeFormatter.h"
#include "model/JsonCoding.h"

#include <algorithm>

AccountListModel::AccountListModel(const AccountsStore &store, QObject *parent)
    : RecordListModel(parent)
    , m_store(store)
{
    connect(&store, &AccountsStore::accountsChanged, this, [this](const QList<QUuid> &ids) {
        if (ids.isEmpty())
            refresh(false);
        for (const QUuid &id : ids)
            update(id);
    });
    for (auto signal : {&AccountsStore::selectedDestinationChanged, &AccountsStore::searchQueryChanged})
        connect(&store, signal, this, [this] { refresh(false); });
    connect(&store, &AccountsStore::nowChanged, this, &AccountListModel::followClock);
    // The service names and formats of every row.
    for (auto signal : {&AccountsStore::servicesChanged, &AccountsStore::preferencesChanged})
        connect(&store, signal, this, &AccountListModel::announceAllRows);
    refresh(false);
}

int AccountListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QString AccountListModel::recoveryText(const Account &account, const Preferences &preferences)
{
    if (account.resetAt)
        return QStringLiteral("Восстановление: ") + DateText::dateTime(*account.resetAt, preferences);
    if (account.hasNoLimits)
        return QStringLiteral("Восстановление: отсутствуют лимиты");
    return QStringLiteral("Восстановление: доступно сейчас");
}

QVariant AccountListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Account &account = m_rows[index.row()];
    switch (role) {
    case AccountIdRole: return JsonCoding::uuidString(account.id);
    case NameRole: return account.name;
    case NoteRole: return account.note;
    case HasPasswordRole: return !account.password.isEmpty();
    case ServiceIdRole: return JsonCoding::uuidString(account.serviceId);
    case ServiceNameRole: return m_store.serviceName(account.serviceId);
    case StatusRole: return LimitPolicy::statusName(m_store.status(account));
    case RemainingTextRole: {
        const AccountLimitStatus status = m_store.status(account);
        if (status.kind != AccountLimitStatus::Kind::active)
            return QString();
        return RemainingTimeFormatter::string(status.remaining, m_store.preferences().timerFormat,
                                              m_store.preferences().showSeconds);
    }
    case RecoveryTextRole: return recoveryText(account, m_store.preferences());
    case IsArchivedRole: return account.isArchived;
    case HasNoLimitsRole: return account.hasNoLimits;
    case ResetAtRole: return account.resetAt ? QVariant(*account.resetAt) : QVariant();
    }
    return {};
}

QHash<int, QByteArray> AccountListModel::roleNames() const
{
    return {
        {AccountIdRole, "accountId"},
        {NameRole, "name"},
        {NoteRole, "note"},
        {HasPasswordRole, "hasPassword"},
        {ServiceIdRole, "serviceId"},
        {ServiceNameRole, "serviceName"},
        {StatusRole, "status"},
        {RemainingTextRole, "remainingText"},
        {RecoveryTextRole, "recoveryText"},
        {IsArchivedRole, "isArchived"},
        {HasNoLimitsRole, "hasNoLimits"},
        {ResetAtRole, "resetAt"},
    };
}

void AccountListModel::refresh(bool allChanged)
{
    m_clock = m_store.now();
    if (replaceRows(m_rows, m_store.filteredAccounts(), allChanged))
        emit countChanged();
}

void AccountListModel::announceAllRows()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0), index(int(m_rows.size()) - 1));
}

void AccountListModel::followClock()
{
    if (!m_store.shownAccountsFollowClock()) {
        announceAllRows();
        return;
    }
    // Forward, the clock only takes accounts off the list (their restore
    // came); a clock set back may bring any of them back.
    if (m_store.now() < m_clock) {
        refresh(true);
        return;
    }
    m_clock = m_store.now();
    const qsizetype before = m_rows.size();
    for (qsizetype last = m_rows.size() - 1; last >= 0; --last) {
        if (m_store.isShown(m_rows[last]))
            continue;
        qsizetype first = last;
        while (first > 0 && !m_store.isShown(m_rows[first - 1]))
            --first;
        beginRemoveRows({}, int(first), int(last));
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        last = first;
    }
    announceAllRows();
    if (m_rows.size() != before)
        emit countChanged();
}

qsizetype AccountListModel::rowOf(const QUuid &id, const Account *account) const
{
    const auto matches = [&id](const Account &row) { return row.id == id; };
    if (!account) {
        const auto row = std::find_if(m_rows.cbegin(), m_rows.cend(), matches);
        return row == m_rows.cend() ? -1 : row - m_rows.cbegin();
    }
    // Rows are newest first, and an account's creation moment never changes.
    const auto newer = [](const Account &row, const QDateTime &createdAt) { return row.createdAt > createdAt; };
    for (auto row = std::lower_bound(m_rows.cbegin(), m_rows.cend(), account->createdAt, newer);
         row != m_rows.cend() && row->createdAt == account->createdAt; ++row)
        if (matches(*row))
            return row - m_rows.cbegin();
    return -1;
}

void AccountListModel::update(const QUuid &id)
{
    const Account *account = m_store.account(id);
    const bool shown = account && m_store.isShown(*account);
    qsizetype row = rowOf(id, account);
    if (row >= 0 && !shown) {
        beginRemoveRows({}, int(row), int(row));
        m_rows.removeAt(row);
        endRemoveRows();
        emit countChanged();
    } else if (row >= 0) {
        if (m_rows[row] == *account)
            return;
        m_rows[row] = *account;
        emit dataChanged(index(int(row)), index(int(row)));
    } else if (shown) {
        const auto listedBefore = [this](const Account &a, const Account &b) { return m_store.isListedBefore(a, b); };
        row = std::lower_bound(m_rows.cbegin(), m_rows.cend(), *account, listedBefore) - m_rows.cbegin();
        beginInsertRows({}, int(row), int(row));
        m_rows.insert(row, *account);
        endInsertRows();
        emit countChanged();
    }
}
