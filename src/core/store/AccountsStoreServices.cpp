// Services and account moves.
#include "AccountsStore.h"

bool AccountsStore::hasServiceNamed(const QString &name, const std::optional<QUuid> &except) const
{
    return std::any_of(m_services.cbegin(), m_services.cend(), [&](const Service &service) {
        return (!except || service.id != *except) && QString::compare(service.name, name, Qt::CaseInsensitive) == 0;
    });
}

std::optional<QUuid> AccountsStore::createService(const QString &name)
{
    const QString cleanName = name.trimmed();
    if (cleanName.isEmpty())
        return std::nullopt;
    if (hasServiceNamed(cleanName, std::nullopt)) {
        setLastErrorMessage(duplicateServiceNameMessage);
        return std::nullopt;
    }
    const Service service{QUuid::createUuid(), cleanName, m_deps.dateProvider->now(), false};
    m_services.append(service);
    notifyChanged(ServicesChanged);
    setSelectedDestination(DashboardDestination::forService(service.id));
    persistState();
    return service.id;
}

void AccountsStore::renameService(const QUuid &id, const QString &name)
{
    const QString cleanName = name.trimmed();
    if (cleanName.isEmpty())
        return;
    auto service = std::find_if(m_services.begin(), m_services.end(), [&](const Service &s) { return s.id == id; });
    if (service == m_services.end() || service->isSystem)
        return;
    if (hasServiceNamed(cleanName, id)) {
        setLastErrorMessage(duplicateServiceNameMessage);
        return;
    }
    service->name = cleanName;
    notifyChanged(ServicesChanged);
    persistState();
}

void AccountsStore::deleteService(const QUuid &id)
{
    const Service *service = findService(id);
    if (!service || service->isSystem)
        return;
    QList<QUuid> moved;
    for (Account &account : m_accounts) {
        if (account.serviceId == id) {
            account.serviceId = Service::systemID;
            moved.append(account.id);
        }
    }
    m_services.removeIf([&](const Service &s) { return s.id == id; });
    notifyChanged(ServicesChanged | (moved.isEmpty() ? 0 : AccountsChanged), moved);
    if (m_selectedDestination.isService() && m_selectedDestination.serviceId == id)
        setSelectedDestination(DashboardDestination::forSection(DashboardSection::all));
    persistState();
}

void AccountsStore::moveAccountToService(const QUuid &accountId, const QUuid &serviceId)
{
    if (!findService(serviceId))
        return;
    Account *account = findAccount(accountId);
    if (!account || account->serviceId == serviceId)
        return;
    const QString oldName = serviceName(account->serviceId);
    const QString newName = serviceName(serviceId);
    account->serviceId = serviceId;
    appendEvent(accountId, AccountEventType::edited,
                QStringLiteral("Сервис изменен: ") + oldName + QStringLiteral(" → ") + newName);
    notifyChanged(AccountsChanged | EventsChanged, {accountId});
    persistState();
}

QList<Service> AccountsStore::sidebarServices() const
{
    QList<Service> sorted = m_services;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Service &a, const Service &b) {
        if (a.isSystem != b.isSystem)
            return a.isSystem;
        return a.createdAt < b.createdAt;
    });
    return sorted;
}
