#include "Service.h"

const QUuid Service::systemID = QUuid(QStringLiteral("00000000-0000-0000-0000-000000000001"));
const QString Service::systemName = QStringLiteral("Без сервиса");

Service Service::systemService()
{
    return Service{systemID, systemName, QDateTime::fromMSecsSinceEpoch(0, Qt::UTC), true};
}
