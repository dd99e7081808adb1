#pragma once

// A large, realistic state for benchmarks and demonstrations: the same shape
// and seed give the same services, accounts and log, with every date placed
// relative to `now`.

#include "model/AccountsState.h"

#include <QDateTime>

struct StateShape {
    int userServices = 20;
    int liveAccounts = 1000;
    int archivedAccounts = 25;
    // The whole log; never fewer than one creation event per account and the
    // creation and deletion of each deleted one.
    int events = 100000;
    quint32 seed = 20260302;
};

// About a third of the live accounts count down, a sixth are restored, the
// rest idle; a few accounts were deleted and only their history remains. The
// log covers the 400 days before `now`, in log order, and ends at `now`. The
// system service comes first, so loading the state repairs nothing.
AccountsState generateState(const QDateTime &now, const StateShape &shape = {});
