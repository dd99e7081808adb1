#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// The fixed destinations of the sidebar.
enum class DashboardSection { all, active, history, support, about, archive };

namespace DashboardSections {
const QList<DashboardSection> &allCases();
QString rawValue(DashboardSection section);
std::optional<DashboardSection> fromRawValue(QStringView raw);
} // namespace DashboardSections

// What the window shows: a section or one service.
struct DashboardDestination {
    enum class Kind { section, service };

    Kind kind = Kind::section;
    DashboardSection section = DashboardSection::all;
    QUuid serviceId;

    static DashboardDestination forSection(DashboardSection section) { return {Kind::section, section, {}}; }
    static DashboardDestination forService(const QUuid &id) { return {Kind::service, DashboardSection::all, id}; }

    bool isService() const { return kind == Kind::service; }
    // "section:<raw value>" or "service:<upper-case id>".
    QString id() const;
    static std::optional<DashboardDestination> fromId(QStringView id);

    friend bool operator==(const DashboardDestination &a, const DashboardDestination &b)
    {
        return a.kind == b.kind && (a.kind == Kind::section ? a.section == b.section : a.serviceId == b.serviceId);
    }
};

// One service's summary for the overview cards.
struct ServiceOverview {
    QUuid id;
    QString serviceName;
    int restoredCount = 0;
    int activeCount = 0;
    std::optional<QDateTime> nextReset;
    QStringList restoredAccountNames;

    friend bool operator==(const ServiceOverview &, const ServiceOverview &) = default;
};
