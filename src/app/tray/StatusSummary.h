#pragma once

#include "store/AccountsStore.h"

#include <QList>
#include <QString>
#include <QUuid>

// What the status-area icon tells about the store: its tooltip and the
// lines of its menu, against the store's own `now`.
namespace StatusSummary {

struct UpcomingRestore {
    QUuid accountId;
    QString name;
    QString remainingText; // as the account's row writes its countdown

    friend bool operator==(const UpcomingRestore &, const UpcomingRestore &) = default;
};

// Unarchived accounts that can be used now: never started, or restored.
int availableNow(const AccountsStore &store);

// The running countdowns of unarchived accounts, soonest first.
QList<UpcomingRestore> nextRestores(const AccountsStore &store, qsizetype limit = 5);

// The tooltip for the nearest restore moment, or for none.
QString toolTip(const std::optional<QDateTime> &nearestRestore, const Preferences &preferences);

} // namespace StatusSummary
