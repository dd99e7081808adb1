#pragma once

#include <QDateTime>

// The clock. Always answers in UTC.
class DateProviding {
public:
    virtual ~DateProviding() = default;
    virtual QDateTime now() const = 0;
};

class SystemDateProvider final : public DateProviding {
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
};
