#include "AppBootstrap.h"

#include "DataFolderLock.h"
#include "persistence/FileAccountRepository.h"
#include "persistence/InMemoryAccountRepository.h"
#include "platform/SystemNotificationsService.h"
#include "services/CryptoSecureTransferService.h"
#include "services/PerSecondTimerTicker.h"
#include "services/SystemAutostartService.h"

std::shared_ptr<AccountRepository> AppBootstrap::makeAccountRepository()
{
    FileAccountRepository::Created file = FileAccountRepository::create();
    if (file)
        return std::shared_ptr<AccountRepository>(std::move(file).value());
    return std::make_shared<InMemoryAccountRepository>();
}

QStringList AppBootstrap::applicationFiles()
{
    QStringList files = SettingsPreferencesRepository::filePaths();
    files.append(SystemAutostartService::entryFilePath());
    if (const auto state = FileAccountRepository::paths())
        files << state->current << DataFolderLock::pathFor(state->current) << state->previousEdition;
    files.removeAll(QString());
    return files;
}

AccountsStoreServices AppBootstrap::makeServices(std::shared_ptr<AccountRepository> repository,
                                                 SettingsPreferencesRepository::Access preferences)
{
    AccountsStoreServices services;
    services.accountRepository = std::move(repository);
    services.preferencesRepository = SettingsPreferencesRepository::forCurrentUser(preferences);
    services.dateProvider = std::make_shared<SystemDateProvider>();
    services.timerTicker = std::make_shared<PerSecondTimerTicker>();
    services.autostartService = std::make_shared<SystemAutostartService>();
    services.notificationsService = std::make_shared<SystemNotificationsService>();
    services.transferService = std::make_shared<CryptoSecureTransferService>();
    services.applicationFiles = applicationFiles();
    return services;
}

std::unique_ptr<AccountsStore> AppBootstrap::makeStore(AccountsStoreServices services)
{
    return std::make_unique<AccountsStore>(std::move(services));
}
