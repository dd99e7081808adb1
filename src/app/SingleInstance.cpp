#include "SingleInstance.h"

#include "AppConfig.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
const QByteArray showRequest = QByteArrayLiteral("show\n");
}

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{}

QString SingleInstance::socketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(AppConfig::applicationId + QStringLiteral(".socket"));
}

bool SingleInstance::listen()
{
    // Only the lock holder gets here, so a socket file left behind is stale.
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(showRequest.trimmed()))
                    emit showRequested();
                socket->write(QByteArrayLiteral("ok\n"));
                socket->flush();
            });
        }
    });
    return m_server->listen(socketPath());
}

bool SingleInstance::askRunningInstanceToShow(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(showRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    return socket.waitForReadyRead(timeoutMs) && socket.readAll().startsWith("ok");
}
