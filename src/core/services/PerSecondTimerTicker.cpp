#include "PerSecondTimerTicker.h"

#include <QTimer>

void PerSecondTimerTicker::start()
{
    if (m_timer)
        return;
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    // A coarse timer may be late by 5 % of the interval, well inside what the
    // countdowns tolerate, and lets the system batch wake-ups.
    m_timer->setTimerType(Qt::CoarseTimer);
    connect(m_timer, &QTimer::timeout, this, [this] { emit tick(QDateTime::currentDateTimeUtc()); });
    m_timer->start();
}

void PerSecondTimerTicker::stop()
{
    delete m_timer;
    m_timer = nullptr;
}
