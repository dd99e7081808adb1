#include "AccountListModel.h"

#include "formatting/DateText.h"
#include "formatting/RemainingTimeFormatter.h"
#include "model/JsonCoding.h"

AccountListModel::AccountListModel(const AccountsStore &store, QObject *parent)
    : RecordListModel(parent)
    , m_store(store)
{
    for (auto signal : {&AccountsStore::accountsChanged, &AccountsStore::selectedDestinationChanged,
                        &AccountsStore::searchQueryChanged})
        connect(&store, signal, this, [this] { refresh(false); });
    // The countdowns, service names and formats of every row.
    for (auto signal :
         {&AccountsStore::servicesChanged, &AccountsStore::nowChanged, &AccountsStore::preferencesChanged})
        connect(&store, signal, this, [this] { refresh(true); });
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
    if (replaceRows(m_rows, m_store.filteredAccounts(), allChanged))
        emit countChanged();
}
