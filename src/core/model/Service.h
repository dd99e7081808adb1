#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

// A named group of accounts. One system service always exists and receives
// every account that has no service of its own.
struct Service {
    QUuid id;
    QString name;
    QDateTime createdAt;
    bool isSystem = false;

    static const QUuid systemID;
    static const QString systemName;
    static Service systemService();

    friend bool operator==(const Service &, const Service &) = default;
};
