#pragma once

#include <QDateTime>
#include <QObject>

// A stream of ticks about once a second. Subscribers connect to `tick`;
// connecting does not start the timer.
class TimerTicking : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start() = 0;
    virtual void stop() = 0;

signals:
    void tick(const QDateTime &date);
};
