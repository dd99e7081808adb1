#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

// One login on a service with a weekly limit. Dates are UTC QDateTimes.
struct Account {
    QUuid id;
    QUuid serviceId;
    QString name;
    QString note;
    QString password;
    QDateTime createdAt;
    std::optional<QDateTime> startedAt;
    std::optional<QDateTime> resetAt;
    bool isArchived = false;
    std::optional<QDateTime> archivedAt;
    bool hasNoLimits = false;

    friend bool operator==(const Account &, const Account &) = default;
};
