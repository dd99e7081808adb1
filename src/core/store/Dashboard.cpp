#include "Dashboard.h"

#include "model/JsonCoding.h"

const QList<DashboardSection> &DashboardSections::allCases()
{
    static const QList<DashboardSection> cases{DashboardSection::all,     DashboardSection::active,
                                               DashboardSection::history, DashboardSection::support,
                                               DashboardSection::about,   DashboardSection::archive};
    return cases;
}

QString DashboardSections::rawValue(DashboardSection section)
{
    switch (section) {
    case DashboardSection::all: return QStringLiteral("all");
    case DashboardSection::active: return QStringLiteral("active");
    case DashboardSection::history: return QStringLiteral("history");
    case DashboardSection::support: return QStringLiteral("support");
    case DashboardSection::about: return QStringLiteral("about");
    case DashboardSection::archive: return QStringLiteral("archive");
    }
    return {};
}

std::optional<DashboardSection> DashboardSections::fromRawValue(QStringView raw)
{
    for (DashboardSection section : allCases())
        if (raw == rawValue(section))
            return section;
    return std::nullopt;
}

QString DashboardDestination::id() const
{
    if (kind == Kind::service)
        return QStringLiteral("service:") + JsonCoding::uuidString(serviceId);
    return QStringLiteral("section:") + DashboardSections::rawValue(section);
}

std::optional<DashboardDestination> DashboardDestination::fromId(QStringView id)
{
    if (id.startsWith(u"section:")) {
        if (const auto section = DashboardSections::fromRawValue(id.mid(8)))
            return forSection(*section);
    } else if (id.startsWith(u"service:")) {
        if (const auto uuid = JsonCoding::parseUuid(id.mid(8)))
            return forService(*uuid);
    }
    return std::nullopt;
}
