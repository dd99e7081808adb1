#pragma once

#include "Account.h"

#include <QDateTime>
#include <QString>

// The status of an account's weekly limit at a given moment.
struct AccountLimitStatus {
    enum class Kind { active, idle, restored };

    Kind kind = Kind::idle;
    double remaining = 0; // seconds left, > 0; only meaningful for active

    static AccountLimitStatus active(double remaining) { return {Kind::active, remaining}; }
    static AccountLimitStatus idle() { return {Kind::idle, 0}; }
    static AccountLimitStatus restored() { return {Kind::restored, 0}; }

    friend bool operator==(const AccountLimitStatus &a, const AccountLimitStatus &b)
    {
        return a.kind == b.kind && (a.kind != Kind::active || a.remaining == b.remaining);
    }
};

// The whole weekly-limit rule: only resetAt decides the status.
namespace LimitPolicy {
inline constexpr double cooldown = 604800.0; // seven days in seconds

AccountLimitStatus status(const Account &account, const QDateTime &now);
QDateTime resetDate(const QDateTime &from);

// "idle", "active" or "restored": the status as the command line and the
// window name it.
QString statusName(const AccountLimitStatus &status);

// resetAt - now in seconds, with the millisecond precision of QDateTime.
double secondsBetween(const QDateTime &from, const QDateTime &to);
} // namespace LimitPolicy
