#include "StoreBridge.h"

#include "PreferencesMapping.h"
#include "formatting/DateText.h"
#include "formatting/TimeZoneCatalog.h"
#include "model/JsonCoding.h"

#include <QPointer>

namespace {

std::optional<QUuid> uuidOrNothing(const QString &text)
{
    return JsonCoding::parseUuid(text);
}

// Operations on an id that does not parse have nothing to act on.
QUuid uuidOrNull(const QString &text)
{
    return JsonCoding::parseUuid(text).value_or(QUuid());
}

std::optional<QDateTime> dateOrNothing(const QDateTime &date)
{
    if (!date.isValid())
        return std::nullopt;
    return date.toUTC();
}

} // namespace

StoreBridge::StoreBridge(AccountsStore &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_accounts(store)
    , m_services(store)
    , m_overviews(store)
    , m_events(store)
{
    connect(&store, &AccountsStore::selectedDestinationChanged, this, &StoreBridge::selectedDestinationChanged);
    connect(&store, &AccountsStore::searchQueryChanged, this, &StoreBridge::searchQueryChanged);
    connect(&store, &AccountsStore::nowChanged, this, &StoreBridge::nowChanged);
    connect(&store, &AccountsStore::isLoadedChanged, this, &StoreBridge::isLoadedChanged);
    connect(&store, &AccountsStore::lastErrorMessageChanged, this, &StoreBridge::lastErrorMessageChanged);
    connect(&store, &AccountsStore::preferencesChanged, this, &StoreBridge::preferencesChanged);
    for (auto signal : {&AccountsStore::servicesChanged, &AccountsStore::nowChanged,
                        &AccountsStore::selectedDestinationChanged, &AccountsStore::preferencesChanged})
        connect(&store, signal, this, &StoreBridge::derivedChanged);
    connect(&store, &AccountsStore::accountsChanged, this, &StoreBridge::derivedChanged);
}

QString StoreBridge::selectedSection() const
{
    return DashboardSections::rawValue(m_store.selectedSection());
}

QString StoreBridge::selectedServiceId() const
{
    const auto id = m_store.selectedServiceId();
    return id ? JsonCoding::uuidString(*id) : QString();
}

QString StoreBridge::selectedServiceName() const
{
    const auto service = m_store.selectedService();
    return service ? service->name : QString();
}

QVariantMap StoreBridge::selectedServiceOverview() const
{
    const auto id = m_store.selectedServiceId();
    const ServiceOverview *overview = id ? m_overviews.overview(*id) : nullptr;
    if (!overview)
        return {};
    return {
        {QStringLiteral("restoredCount"), overview->restoredCount},
        {QStringLiteral("activeCount"), overview->activeCount},
        {QStringLiteral("nextResetText"),
         overview->nextReset ? DateText::dateTime(*overview->nextReset, m_store.preferences()) : QString()},
    };
}

QVariantMap StoreBridge::preferences() const
{
    return PreferencesMapping::toMap(m_store.preferences());
}

void StoreBridge::selectSection(const QString &section)
{
    if (const auto value = DashboardSections::fromRawValue(section))
        m_store.selectSection(*value);
}

void StoreBridge::selectService(const QString &serviceId)
{
    if (const auto id = uuidOrNothing(serviceId))
        m_store.selectService(*id);
}

void StoreBridge::addAccount(const QString &name, const QString &note, const QString &password,
                             const QDateTime &manualResetAt, bool hasNoLimits, const QString &serviceId)
{
    m_store.addAccount(name, note, password, dateOrNothing(manualResetAt), hasNoLimits, uuidOrNothing(serviceId));
}

void StoreBridge::updateAccount(const QString &id, const QString &name, const QString &note, const QString &password,
                                const QDateTime &manualResetAt, bool hasNoLimits, const QString &serviceId)
{
    m_store.updateAccount(uuidOrNull(id), name, note, password, dateOrNothing(manualResetAt), hasNoLimits,
                          uuidOrNothing(serviceId));
}

void StoreBridge::deleteAccount(const QString &id)
{
    m_store.deleteAccount(uuidOrNull(id));
}
void StoreBridge::startUsage(const QString &id)
{
    m_store.startUsage(uuidOrNull(id));
}
void StoreBridge::resetTimer(const QString &id)
{
    m_store.resetTimer(uuidOrNull(id));
}
void StoreBridge::toggleNoLimits(const QString &id)
{
    m_store.toggleNoLimits(uuidOrNull(id));
}
bool StoreBridge::copyPasswordToClipboard(const QString &id)
{
    return m_store.copyPasswordToClipboard(uuidOrNull(id));
}
void StoreBridge::archiveAccount(const QString &id)
{
    m_store.archiveAccount(uuidOrNull(id));
}
void StoreBridge::restoreAccount(const QString &id)
{
    m_store.restoreAccount(uuidOrNull(id));
}

QVariantMap StoreBridge::account(const QString &id) const
{
    const QUuid uuid = uuidOrNull(id);
    for (const Account &account : m_store.accounts()) {
        if (account.id != uuid)
            continue;
        return {
            {QStringLiteral("accountId"), JsonCoding::uuidString(account.id)},
            {QStringLiteral("serviceId"), JsonCoding::uuidString(account.serviceId)},
            {QStringLiteral("name"), account.name},
            {QStringLiteral("note"), account.note},
            {QStringLiteral("password"), account.password},
            {QStringLiteral("hasNoLimits"), account.hasNoLimits},
            {QStringLiteral("resetAt"), account.resetAt ? QVariant(*account.resetAt) : QVariant()},
        };
    }
    return {};
}

QString StoreBridge::createService(const QString &name)
{
    const auto id = m_store.createService(name);
    return id ? JsonCoding::uuidString(*id) : QString();
}

void StoreBridge::renameService(const QString &id, const QString &name)
{
    m_store.renameService(uuidOrNull(id), name);
}

void StoreBridge::deleteService(const QString &id)
{
    m_store.deleteService(uuidOrNull(id));
}

QString StoreBridge::serviceName(const QString &id) const
{
    return m_store.serviceName(uuidOrNull(id));
}

bool StoreBridge::handleAccountDrop(const QStringList &texts, const QString &serviceId)
{
    const QUuid target = uuidOrNull(serviceId);
    bool parsed = false;
    for (const QString &text : texts) {
        if (const auto accountId = JsonCoding::parseUuid(text.trimmed())) {
            m_store.moveAccountToService(*accountId, target);
            parsed = true;
        }
    }
    return parsed;
}

QVariantMap StoreBridge::previewPreferences(const QVariantMap &preferences)
{
    return PreferencesMapping::toMap(
        m_store.previewPreferences(PreferencesMapping::fromMap(preferences, m_store.preferences())));
}

void StoreBridge::restorePreferences(const QVariantMap &preferences)
{
    m_store.restorePreferences(PreferencesMapping::fromMap(preferences, m_store.preferences()));
}

void StoreBridge::commitPreferences(const QVariantMap &preferences)
{
    m_store.commitPreferences(PreferencesMapping::fromMap(preferences, m_store.preferences()));
}

void StoreBridge::requestNotificationPermission()
{
    QPointer<StoreBridge> self(this);
    m_store.requestNotificationPermission([self](bool granted) {
        if (self)
            emit self->notificationPermissionAnswered(granted);
    });
}

void StoreBridge::fetchNotificationStatus()
{
    QPointer<StoreBridge> self(this);
    m_store.notificationAuthorizationStatus([self](const QString &text) {
        if (self)
            emit self->notificationStatusFetched(text);
    });
}

void StoreBridge::importBackup(const QString &password, const QString &mode)
{
    if (const auto importMode = BackupImportModes::fromRawValue(mode))
        m_store.importBackupWithPanel(password, *importMode);
}

QString StoreBridge::dateText(const QDateTime &date) const
{
    return date.isValid() ? DateText::dateTime(date.toUTC(), m_store.preferences()) : QString();
}

QVariantList StoreBridge::timeZoneOptions() const
{
    QVariantList options;
    for (const TimeZoneOption &option : TimeZoneCatalog::allOptions(QLocale(QStringLiteral("ru_RU")))) {
        options.append(QVariantMap{
            {QStringLiteral("id"), option.id},
            {QStringLiteral("title"), option.title},
        });
    }
    return options;
}
