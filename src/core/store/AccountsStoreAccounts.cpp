// Account operations and the history log.
#include "AccountsStore.h"

#include "formatting/DateText.h"

void AccountsStore::appendEvent(const QUuid &accountId, AccountEventType type, const QString &details)
{
    m_events.append(AccountEvent{QUuid::createUuid(), accountId, type, m_deps.dateProvider->now(), details});
}

QUuid AccountsStore::targetServiceID(const std::optional<QUuid> &preferred) const
{
    if (preferred && findService(*preferred))
        return *preferred;
    if (m_selectedDestination.isService() && findService(m_selectedDestination.serviceId))
        return m_selectedDestination.serviceId;
    return Service::systemID;
}

void AccountsStore::addAccount(const QString &name, const QString &note, const QString &password,
                               const std::optional<QDateTime> &manualResetAt, bool hasNoLimits,
                               const std::optional<QUuid> &serviceId)
{
    const QString cleanName = name.trimmed();
    if (cleanName.isEmpty())
        return;
    const QDateTime t = m_deps.dateProvider->now();
    Account account;
    account.id = QUuid::createUuid();
    account.serviceId = targetServiceID(serviceId);
    account.name = cleanName;
    account.note = note.trimmed();
    account.password = password;
    account.createdAt = t;
    account.resetAt = manualResetAt;
    account.hasNoLimits = hasNoLimits;
    m_accounts.append(account);
    indexAccountsFrom(m_accounts.size() - 1);

    appendEvent(account.id, AccountEventType::created, QStringLiteral("Создан аккаунт ") + cleanName);
    if (hasNoLimits)
        appendEvent(account.id, AccountEventType::edited, QStringLiteral("Отмечен как безлимитно пустой"));
    else if (manualResetAt)
        appendEvent(account.id, AccountEventType::manualResetAtSet,
                    QStringLiteral("Время восстановления установлено вручную: ")
                        + DateText::dateTime(*manualResetAt, m_preferences));
    notifyChanged(AccountsChanged | EventsChanged, {account.id});
    persistState();
}

void AccountsStore::updateAccount(const QUuid &id, const QString &name, const QString &note, const QString &password,
                                  const std::optional<QDateTime> &manualResetAt, bool hasNoLimits,
                                  const std::optional<QUuid> &serviceId)
{
    const QString cleanName = name.trimmed();
    if (cleanName.isEmpty())
        return;
    Account *account = findAccount(id);
    if (!account)
        return;
    account->name = cleanName;
    account->note = note.trimmed();
    account->password = password;
    account->hasNoLimits = hasNoLimits;
    account->resetAt = manualResetAt;
    if (serviceId && findService(*serviceId))
        account->serviceId = *serviceId;

    appendEvent(id, AccountEventType::edited, QStringLiteral("Изменен аккаунт ") + cleanName);
    if (hasNoLimits)
        appendEvent(id, AccountEventType::edited, QStringLiteral("Включен флаг: лимитов нет"));
    else if (manualResetAt)
        appendEvent(id, AccountEventType::manualResetAtSet,
                    QStringLiteral("Время восстановления установлено вручную: ")
                        + DateText::dateTime(*manualResetAt, m_preferences));
    notifyChanged(AccountsChanged | EventsChanged, {id});
    persistState();
}

void AccountsStore::deleteAccount(const QUuid &id)
{
    const qsizetype position = accountPosition(id);
    const QString name = position < 0 ? QStringLiteral("Аккаунт") : m_accounts[position].name;
    if (position >= 0) {
        m_accounts.removeAt(position);
        m_accountPositions.remove(id);
        indexAccountsFrom(position);
    }
    appendEvent(id, AccountEventType::deleted, QStringLiteral("Удален аккаунт ") + name);
    notifyChanged((position >= 0 ? AccountsChanged : 0) | EventsChanged, {id});
    persistState();
}

void AccountsStore::startUsage(const QUuid &id)
{
    Account *account = findAccount(id);
    if (!account)
        return;
    const QDateTime t = m_deps.dateProvider->now();
    account->startedAt = t;
    account->resetAt = LimitPolicy::resetDate(t);
    setNow(t);
    m_lastNotifiedRestore.remove(id);
    appendEvent(id, AccountEventType::used, QStringLiteral("Запущен недельный отсчет"));
    notifyChanged(AccountsChanged | EventsChanged, {id});
    persistState();
}

void AccountsStore::resetTimer(const QUuid &id)
{
    Account *account = findAccount(id);
    if (!account)
        return;
    account->startedAt.reset();
    account->resetAt.reset();
    m_lastNotifiedRestore.remove(id);
    appendEvent(id, AccountEventType::timerReset, QStringLiteral("Таймер сброшен"));
    notifyChanged(AccountsChanged | EventsChanged, {id});
    persistState();
}

void AccountsStore::toggleNoLimits(const QUuid &id)
{
    Account *account = findAccount(id);
    if (!account)
        return;
    account->hasNoLimits = !account->hasNoLimits;
    appendEvent(id, AccountEventType::edited,
                account->hasNoLimits ? QStringLiteral("Включен статус: лимитов нет")
                                     : QStringLiteral("Выключен статус: лимитов нет"));
    notifyChanged(AccountsChanged | EventsChanged, {id});
    persistState();
}

bool AccountsStore::copyPasswordToClipboard(const QUuid &id)
{
    const Account *account = findAccount(id);
    if (!account || account->password.isEmpty() || !m_deps.clipboard)
        return false;
    m_deps.clipboard->setText(account->password, true);
    appendEvent(id, AccountEventType::edited, QStringLiteral("Пароль скопирован в буфер обмена"));
    notifyChanged(EventsChanged);
    persistState();
    return true;
}

void AccountsStore::archiveAccount(const QUuid &id)
{
    Account *account = findAccount(id);
    if (!account)
        return;
    account->isArchived = true;
    account->archivedAt = m_deps.dateProvider->now();
    appendEvent(id, AccountEventType::archived, QStringLiteral("Перемещен в архив"));
    notifyChanged(AccountsChanged | EventsChanged, {id});
    persistState();
}

void AccountsStore::restoreAccount(const QUuid &id)
{
    Account *account = findAccount(id);
    if (!account)
        return;
    account->isArchived = false;
    account->archivedAt.reset();
    appendEvent(id, AccountEventType::restoredFromArchive, QStringLiteral("Восстановлен из архива"));
    notifyChanged(AccountsChanged | EventsChanged, {id});
    persistState();
}
