#pragma once

#include "model/AccountsState.h"
#include "model/Result.h"

#include <functional>

class QObject;

// Where the store loads and saves the whole state.
class AccountRepository {
public:
    using SaveReport = std::function<void(const Result<void> &)>;

    virtual ~AccountRepository() = default;
    virtual Result<AccountsState> loadState() = 0;
    // Returns once the state is written, or has failed to be.
    virtual Result<void> saveState(const AccountsState &state) = 0;

    // Asks for the state to be saved; `report` gets the outcome on the thread
    // of `context`, and not at all once `context` is gone. This one saves at
    // once; a writer of its own returns at once and reports later.
    virtual void requestSave(const AccountsState &state, QObject *context, const SaveReport &report)
    {
        (void)context;
        report(saveState(state));
    }
    // Returns once every requested save is written.
    virtual void waitForSaves() {}
};
