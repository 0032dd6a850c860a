#include "LoopTimer.h"

#include <algorithm>
#include <ctime>

namespace quorvane::bench {

namespace {

double processCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

} // namespace

LoopTimer::LoopTimer() {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LoopTimer::tick);
    m_clock.start();
    m_timer.start(kPeriodMs);
}

void LoopTimer::reset() {
    m_lastNs = -1;
    m_longestLateMs = 0;
    m_longestGapCpuMs = 0;
    m_ticks = 0;
}

void LoopTimer::tick() {
    const qint64 now = m_clock.nsecsElapsed();
    const double cpu = processCpuMs();
    if (m_lastNs >= 0) {
        const double gapMs = static_cast<double>(now - m_lastNs) / 1e6;
        if (gapMs - kPeriodMs > m_longestLateMs) {
            m_longestLateMs = gapMs - kPeriodMs;
            m_longestGapCpuMs = cpu - m_lastCpuMs;
        }
    }
    m_lastNs = now;
    m_lastCpuMs = cpu;
    ++m_ticks;
}

} // namespace quorvane::bench
