#include "StatusSummary.h"

#include "formatting/DateText.h"
#include "formatting/RemainingTimeFormatter.h"

#include <algorithm>

int StatusSummary::availableNow(const AccountsStore &store)
{
    return int(std::count_if(store.accounts().cbegin(), store.accounts().cend(), [&store](const Account &account) {
        return !account.isArchived && store.status(account).kind != AccountLimitStatus::Kind::active;
    }));
}

QList<StatusSummary::UpcomingRestore> StatusSummary::nextRestores(const AccountsStore &store, qsizetype limit)
{
    QList<const Account *> running;
    for (const Account &account : store.accounts()) {
        if (!account.isArchived && store.status(account).kind == AccountLimitStatus::Kind::active)
            running.append(&account);
    }
    const auto soonest = [](const Account *a, const Account *b) { return *a->resetAt < *b->resetAt; };
    const qsizetype count = std::min(limit, running.size());
    std::partial_sort(running.begin(), running.begin() + count, running.end(), soonest);

    const Preferences &preferences = store.preferences();
    QList<UpcomingRestore> restores;
    for (const Account *account : running.first(count)) {
        restores.append({account->id, account->name,
                         RemainingTimeFormatter::string(store.status(*account).remaining, preferences.timerFormat,
                                                        preferences.showSeconds)});
    }
    return restores;
}

QString StatusSummary::toolTip(const std::optional<QDateTime> &nearestRestore, const Preferences &preferences)
{
    const QString title = QStringLiteral("Tallyport\n");
    if (!nearestRestore)
        return title + QStringLiteral("Нет активных лимитов");
    return title + QStringLiteral("Ближайшее восстановление: ") + DateText::dateTime(*nearestRestore, preferences);
}
