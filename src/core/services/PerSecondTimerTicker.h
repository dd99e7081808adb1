#pragma once

#include "services/TimerTicking.h"

class QTimer;

// Ticks once a second from a timer on the thread that owns the ticker (the
// GUI thread). The timer exists only while running and is a child of the
// ticker, so releasing the ticker takes the timer, and any pending tick,
// with it.
class PerSecondTimerTicker final : public TimerTicking {
    Q_OBJECT
public:
    using TimerTicking::TimerTicking;

    void start() override;
    void stop() override;

private:
    QTimer *m_timer = nullptr;
};
