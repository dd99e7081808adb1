#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Lets a second start of the window hand over to the running one: the
// running window listens on a socket in the runtime folder, and a later
// start connects, asks it to show itself and exits.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);

    static QString socketPath();

    // For the running window, once it holds the data folder lock.
    bool listen();
    // For a later start: true when a running window took the request.
    static bool askRunningInstanceToShow(int timeoutMs = 2000);

signals:
    void showRequested();

private:
    QLocalServer *m_server = nullptr;
};
