#pragma once

#include "AccountRepository.h"

#include <QPointer>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Saves through `target` on a writer thread of its own, so a large state never
// holds up the caller. Requests made while a write runs collapse into one next
// write of the latest state; there is never more than one pending.
class BackgroundAccountRepository final : public AccountRepository {
public:
    explicit BackgroundAccountRepository(std::shared_ptr<AccountRepository> target);
    // Writes what is still pending before the thread ends.
    ~BackgroundAccountRepository() override;

    Result<AccountsState> loadState() override;
    // Writes pending requests first, then `state` on the caller's thread while
    // the writer waits: the file only ever has one writer.
    Result<void> saveState(const AccountsState &state) override;
    void requestSave(const AccountsState &state, QObject *context, const SaveReport &report) override;
    void waitForSaves() override;

private:
    struct Request {
        AccountsState state;
        QPointer<QObject> context;
        SaveReport report;
    };

    void run();

    std::shared_ptr<AccountRepository> m_target;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Request> m_pending;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};
