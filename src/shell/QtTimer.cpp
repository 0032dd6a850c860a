#include "shell/QtTimer.h"

namespace quorvane {

QtTimer::QtTimer(int intervalMs, bool enabled, QObject* parent)
    : QObject(parent), m_interval(intervalMs), m_enabled(enabled) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &QtTimer::handleTimeout);
    restart();
}

void QtTimer::setInterval(int milliseconds) {
    m_interval = milliseconds;
    restart();
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    restart();
}

void QtTimer::retire() {
    m_retired = true;
    m_timer.stop();
}

void QtTimer::restart() {
    if (m_retired) {
        m_timer.stop();
        return;
    }
    if (m_enabled && m_interval > 0) {
        m_timer.start(m_interval);
    } else {
        m_timer.stop();
    }
}

void QtTimer::handleTimeout() {
    if (m_tick) {
        m_tick();
    }
}

} // namespace quorvane
