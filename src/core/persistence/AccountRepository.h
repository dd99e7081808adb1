#pragma once

#include "model/AccountsState.h"
#include "model/Result.h"

// Where the store loads and saves the whole state.
class AccountRepository {
public:
    virtual ~AccountRepository() = default;
    virtual Result<AccountsState> loadState() = 0;
    virtual Result<void> saveState(const AccountsState &state) = 0;
};
