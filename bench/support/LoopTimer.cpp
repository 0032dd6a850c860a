#include "LoopTimer.h"

#include <algorithm>

namespace quorvane::bench {

LoopTimer::LoopTimer() {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LoopTimer::tick);
    m_clock.start();
    m_timer.start(kPeriodMs);
}

void LoopTimer::reset() {
    m_lastNs = -1;
    m_longestLateMs = 0;
    m_ticks = 0;
}

void LoopTimer::tick() {
    const qint64 now = m_clock.nsecsElapsed();
    if (m_lastNs >= 0) {
        const double gapMs = static_cast<double>(now - m_lastNs) / 1e6;
        m_longestLateMs = std::max(m_longestLateMs, gapMs - kPeriodMs);
    }
    m_lastNs = now;
    ++m_ticks;
}

} // namespace quorvane::bench
