#include "LimitPolicy.h"

double LimitPolicy::secondsBetween(const QDateTime &from, const QDateTime &to)
{
    return double(to.toMSecsSinceEpoch() - from.toMSecsSinceEpoch()) / 1000.0;
}

AccountLimitStatus LimitPolicy::status(const Account &account, const QDateTime &now)
{
    if (!account.resetAt)
        return AccountLimitStatus::idle();
    const double remaining = secondsBetween(now, *account.resetAt);
    if (remaining > 0)
        return AccountLimitStatus::active(remaining);
    return AccountLimitStatus::restored();
}

QDateTime LimitPolicy::resetDate(const QDateTime &from)
{
    return from.addMSecs(qint64(cooldown) * 1000).toUTC();
}

QString LimitPolicy::statusName(const AccountLimitStatus &status)
{
    switch (status.kind) {
    case AccountLimitStatus::Kind::active: return QStringLiteral("active");
    case AccountLimitStatus::Kind::restored: return QStringLiteral("restored");
    case AccountLimitStatus::Kind::idle: break;
    }
    return QStringLiteral("idle");
}
