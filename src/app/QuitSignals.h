#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT end the event loop as a normal quit does, so the last
// changes are written before the process ends. The handler only writes to a
// pipe; the loop reads it.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

private:
    QSocketNotifier *m_notifier = nullptr;
};
