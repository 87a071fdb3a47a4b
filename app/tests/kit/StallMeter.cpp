#include "StallMeter.h"

#include <algorithm>

StallMeter::StallMeter() {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        const qint64 gap = m_clock.restart();
        m_longest = std::max(m_longest, gap - kTickMs);
    });
}

void StallMeter::start() {
    m_longest = 0;
    m_clock.start();
    m_timer.start();
}
