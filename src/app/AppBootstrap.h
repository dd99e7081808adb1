#pragma once

#include "persistence/SettingsPreferencesRepository.h"
#include "store/AccountsStore.h"

#include <memory>

// The composition root: builds the one store on the system's services.
namespace AppBootstrap {

// The state file in the user's data folder; an empty in-memory repository
// when that folder cannot be set up (the application still starts, silently).
std::shared_ptr<AccountRepository> makeAccountRepository();

// Every file the application keeps: the state file and its lock, the
// preferences, the autostart entry, and the previous edition's files.
QStringList applicationFiles();

// Everything but the GUI-only facilities (clipboard, file panels), which the
// window adds and the command line does without.
AccountsStoreServices
makeServices(std::shared_ptr<AccountRepository> repository,
             SettingsPreferencesRepository::Access preferences = SettingsPreferencesRepository::Access::readWrite);

std::unique_ptr<AccountsStore> makeStore(AccountsStoreServices services);

} // namespace AppBootstrap
