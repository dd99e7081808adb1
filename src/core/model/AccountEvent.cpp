#include "AccountEvent.h"

#include <array>

namespace {
struct TypeName {
    AccountEventType type;
    QLatin1StringView raw;
};

constexpr std::array<TypeName, 8> kTypeNames{{
    {AccountEventType::created, QLatin1StringView("created")},
    {AccountEventType::edited, QLatin1StringView("edited")},
    {AccountEventType::used, QLatin1StringView("used")},
    {AccountEventType::manualResetAtSet, QLatin1StringView("manualResetAtSet")},
    {AccountEventType::timerReset, QLatin1StringView("timerReset")},
    {AccountEventType::archived, QLatin1StringView("archived")},
    {AccountEventType::restoredFromArchive, QLatin1StringView("restoredFromArchive")},
    {AccountEventType::deleted, QLatin1StringView("deleted")},
}};
} // namespace

const QList<AccountEventType> &AccountEventTypes::allCases()
{
    static const QList<AccountEventType> cases = [] {
        QList<AccountEventType> list;
        for (const auto &entry : kTypeNames)
            list.append(entry.type);
        return list;
    }();
    return cases;
}

QString AccountEventTypes::rawValue(AccountEventType type)
{
    for (const auto &entry : kTypeNames)
        if (entry.type == type)
            return entry.raw;
    return {};
}

std::optional<AccountEventType> AccountEventTypes::fromRawValue(QStringView raw)
{
    for (const auto &entry : kTypeNames)
        if (raw == entry.raw)
            return entry.type;
    return std::nullopt;
}
