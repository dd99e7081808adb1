#pragma once

#include "AccountRepository.h"

// Keeps the state for the life of the process only: the fallback when the
// data folder cannot be set up, and the repository of store tests.
class InMemoryAccountRepository final : public AccountRepository {
public:
    InMemoryAccountRepository() = default;
    explicit InMemoryAccountRepository(AccountsState state)
        : m_state(std::move(state))
    {}

    Result<AccountsState> loadState() override { return m_state; }
    Result<void> saveState(const AccountsState &state) override
    {
        m_state = state;
        return {};
    }

private:
    AccountsState m_state;
};
