#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

enum class AccountEventType {
    created,
    edited,
    used,
    manualResetAtSet,
    timerReset,
    archived,
    restoredFromArchive,
    deleted,
};

namespace AccountEventTypes {
const QList<AccountEventType> &allCases();
QString rawValue(AccountEventType type);
std::optional<AccountEventType> fromRawValue(QStringView raw);
} // namespace AccountEventTypes

// One line of the append-only history log.
struct AccountEvent {
    QUuid id;
    QUuid accountId;
    AccountEventType type = AccountEventType::created;
    QDateTime timestamp;
    QString details;

    friend bool operator==(const AccountEvent &, const AccountEvent &) = default;
};
