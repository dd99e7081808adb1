#include "BackgroundAccountRepository.h"

#include <QMetaObject>

BackgroundAccountRepository::BackgroundAccountRepository(std::shared_ptr<AccountRepository> target)
    : m_target(std::move(target))
    , m_thread([this] { run(); })
{}

BackgroundAccountRepository::~BackgroundAccountRepository()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

Result<AccountsState> BackgroundAccountRepository::loadState()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_writing; });
    return m_target->loadState();
}

Result<void> BackgroundAccountRepository::saveState(const AccountsState &state)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_writing; });
    return m_target->saveState(state);
}

void BackgroundAccountRepository::requestSave(const AccountsState &state, QObject *context, const SaveReport &report)
{
    {
        // Replacing the pending request drops the older state: only the
        // latest is worth writing.
        const std::lock_guard lock(m_mutex);
        m_pending = Request{state, context, report};
    }
    m_changed.notify_all();
}

void BackgroundAccountRepository::waitForSaves()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_writing; });
}

void BackgroundAccountRepository::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_stopping; });
        if (!m_pending)
            return;
        Request request = std::move(*m_pending);
        m_pending.reset();
        m_writing = true;
        lock.unlock();
        const Result<void> saved = m_target->saveState(request.state);
        // The state's lists are released here, not on the caller's thread.
        request.state = {};
        lock.lock();
        m_writing = false;
        // Posted while holding the lock: whoever waited for the saves and
        // then destroys the context finds the report already queued, and
        // Qt drops it with the context.
        if (request.context && request.report) {
            QMetaObject::invokeMethod(
                request.context.data(), [report = std::move(request.report), saved] { report(saved); },
                Qt::QueuedConnection);
        }
        m_changed.notify_all();
    }
}
