#pragma once

#include "StoreFakes.h"

#include <memory>

// A store's services for the benchmarks: `repository` behind it, fakes for
// everything else and a clock that stands still at `now`.
inline AccountsStoreServices benchStoreServices(std::shared_ptr<AccountRepository> repository, const QDateTime &now)
{
    auto clock = std::make_shared<FixedDateProvider>();
    clock->current = now;
    return AccountsStoreServices{std::move(repository),
                                 std::make_shared<FakePreferencesRepository>(),
                                 clock,
                                 std::make_shared<ManualTicker>(),
                                 std::make_shared<FakeAutostart>(),
                                 std::make_shared<FakeNotifications>(),
                                 nullptr,
                                 std::make_shared<FakeClipboard>(),
                                 std::make_shared<FakeFilePanels>(),
                                 {}};
}
