#pragma once

#include "RecordListModel.h"
#include "store/AccountsStore.h"

// The account rows of the selected destination (the store's filteredAccounts).
// Changes come as row-level changes: an operation changes, adds or removes
// its own rows only, found by their order, and a tick changes the data of the
// rows in place, so the view keeps its delegates. Only another destination, a
// search or a whole new state lists the accounts anew.
class AccountListModel : public RecordListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        AccountIdRole = Qt::UserRole + 1,
        NameRole,
        NoteRole,
        HasPasswordRole,
        ServiceIdRole,
        ServiceNameRole,
        StatusRole,        // "idle", "active" or "restored"
        RemainingTextRole, // the countdown text while active
        RecoveryTextRole,  // "Восстановление: ..."
        IsArchivedRole,
        HasNoLimitsRole,
        ResetAtRole,
    };

    explicit AccountListModel(const AccountsStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return int(m_rows.size()); }

    static QString recoveryText(const Account &account, const Preferences &preferences);

signals:
    void countChanged();

private:
    void refresh(bool allChanged);
    void update(const QUuid &id);
    void followClock();
    void announceAllRows();
    // The row of `id`, -1 when it is not listed; `account` is the store's.
    qsizetype rowOf(const QUuid &id, const Account *account) const;

    const AccountsStore &m_store;
    QList<Account> m_rows;
    QDateTime m_clock;
};
