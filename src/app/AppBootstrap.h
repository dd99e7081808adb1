#pragma once

#include "store/AccountsStore.h"

#include <memory>

// The composition root: builds the one store on the system's services.
namespace AppBootstrap {

// The state file in the user's data folder; an empty in-memory repository
// when that folder cannot be set up (the application still starts, silently).
std::shared_ptr<AccountRepository> makeAccountRepository();

// Everything but the GUI-only facilities (clipboard, file panels), which the
// window adds and the command line does without.
AccountsStoreServices makeServices(std::shared_ptr<AccountRepository> repository);

std::unique_ptr<AccountsStore> makeStore(AccountsStoreServices services);

} // namespace AppBootstrap
