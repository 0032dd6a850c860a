#include "fakes/FakeTimer.h"

#include <cmath>

namespace quorvane::fakes {

FakeTimer::FakeTimer(FakeTimeline& timeline, int intervalMs, bool enabled)
    : m_timeline(timeline), m_interval(intervalMs), m_enabled(enabled) {
    m_dueAt = m_timeline.nowMs() + m_interval;
    m_timeline.add({[this] { return m_enabled && m_interval > 0; }, [this] { return m_dueAt; },
                    [this] { fire(); }});
}

void FakeTimer::setInterval(int milliseconds) {
    m_interval = milliseconds;
    m_dueAt = m_timeline.nowMs() + m_interval;
}

void FakeTimer::setEnabled(bool enabled) {
    if (enabled && !m_enabled) {
        m_dueAt = m_timeline.nowMs() + m_interval;
    }
    m_enabled = enabled;
}

void FakeTimer::fire() {
    m_dueAt = m_timeline.nowMs() + m_interval;
    // As the toolkit does: a timer whose handler is still running (a message box opened
    // inside it) does not fire again; its ticks are skipped until the handler returns.
    if (m_firing) {
        return;
    }
    ++m_ticks;
    m_firing = true;
    if (m_reaction) {
        m_reaction();
    }
    m_firing = false;
}

FakeLongTimer::FakeLongTimer(FakeTimeline& timeline) : m_timeline(timeline) {
    m_timeline.add({[this] { return m_enabled && periodMs() > 0; }, [this] { return m_dueAt; },
                    [this] { fire(); }});
}

std::int64_t FakeLongTimer::periodMs() const {
    return static_cast<std::int64_t>(std::llround(static_cast<double>(m_interval) * 1000.0));
}

void FakeLongTimer::setInterval(float seconds) {
    m_interval = seconds;
    m_dueAt = m_timeline.nowMs() + periodMs();
}

void FakeLongTimer::setEnabled(bool enabled) {
    if (enabled && !m_enabled) {
        m_dueAt = m_timeline.nowMs() + periodMs();
    }
    m_enabled = enabled;
}

void FakeLongTimer::fire() {
    m_dueAt = m_timeline.nowMs() + periodMs();
    if (m_firing) {
        return;
    }
    ++m_expiries;
    m_firing = true;
    if (m_reaction) {
        m_reaction();
    }
    m_firing = false;
}

} // namespace quorvane::fakes
