#pragma once

#include "Account.h"
#include "AccountEvent.h"
#include "Service.h"

#include <QList>

// The root record, persisted as a whole.
struct AccountsState {
    QList<Service> services;
    QList<Account> accounts;
    QList<AccountEvent> events;

    friend bool operator==(const AccountsState &, const AccountsState &) = default;
};
