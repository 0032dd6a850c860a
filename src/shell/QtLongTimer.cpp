#include "shell/QtLongTimer.h"

#include <cmath>
#include <limits>

namespace quorvane {

QtLongTimer::QtLongTimer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &QtLongTimer::handleTimeout);
}

int QtLongTimer::periodMs() const {
    const double ms = std::round(static_cast<double>(m_interval) * 1000.0);
    if (!(ms > 0)) {
        return 0; // zero, negative and NaN intervals never expire
    }
    constexpr double most = std::numeric_limits<int>::max();
    return ms >= most ? std::numeric_limits<int>::max() : static_cast<int>(ms);
}

void QtLongTimer::setInterval(float seconds) {
    m_interval = seconds;
    restart();
}

void QtLongTimer::setEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    restart();
}

void QtLongTimer::retire() {
    m_retired = true;
    m_timer.stop();
}

void QtLongTimer::restart() {
    if (m_retired) {
        m_timer.stop();
        return;
    }
    const int period = periodMs();
    if (m_enabled && period > 0) {
        m_timer.start(period);
    } else {
        m_timer.stop();
    }
}

void QtLongTimer::handleTimeout() {
    if (m_expiry) {
        m_expiry();
    }
}

} // namespace quorvane
