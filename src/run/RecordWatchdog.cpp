#include "run/RecordWatchdog.h"

#include <algorithm>
#include <chrono>

namespace quorvane {

RecordWatchdog::RecordWatchdog(Timer& timer, const Clock& clock, EventLog& events)
    : m_timer(timer), m_clock(clock), m_events(events) {
    m_timer.setEnabled(false);
    m_timer.onTick([this] { timerTick(); });
}

int RecordWatchdog::thresholdSeconds(int logIntervalSeconds) {
    // 64 bits: the log interval can come from a settings file.
    const std::int64_t intervals = std::int64_t{kIntervalsOfSilence} * logIntervalSeconds;
    return static_cast<int>(std::clamp<std::int64_t>(intervals, kMinimumSeconds, 86400));
}

void RecordWatchdog::start(int logIntervalSeconds) {
    if (logIntervalSeconds <= 0) {
        stop();
        return;
    }
    m_watching = true;
    m_silent = false;
    m_thresholdMs = std::int64_t{thresholdSeconds(logIntervalSeconds)} * 1000;
    m_lastRecordMs = nowMs();
    m_timer.setInterval(static_cast<int>(m_thresholdMs));
    m_timer.setEnabled(true);
}

void RecordWatchdog::stop() {
    m_watching = false;
    m_silent = false;
    m_timer.setEnabled(false);
}

void RecordWatchdog::recordLogged() {
    if (!m_watching) {
        return;
    }
    const std::int64_t now = nowMs();
    if (m_silent) {
        m_silent = false;
        m_events.logEvent("Data records received again after " +
                          std::to_string(wholeSeconds(now - m_lastRecordMs)) + " seconds.");
        m_timer.setInterval(static_cast<int>(m_thresholdMs));
        m_timer.setEnabled(true);
    }
    // Only the time is kept: the timer is moved on when it comes due, not per record.
    m_lastRecordMs = now;
}

void RecordWatchdog::timerTick() {
    if (!m_watching || m_silent) {
        m_timer.setEnabled(false);
        return;
    }
    const std::int64_t quiet = nowMs() - m_lastRecordMs;
    if (quiet < m_thresholdMs) {
        // A record came meanwhile (or the clock was set back): wait for the rest.
        const std::int64_t rest = m_thresholdMs - std::max<std::int64_t>(quiet, 0);
        m_timer.setInterval(static_cast<int>(rest));
        return;
    }
    m_silent = true;
    m_timer.setEnabled(false);
    m_events.logEvent("No data record received for " + std::to_string(wholeSeconds(quiet)) +
                      " seconds.");
}

std::int64_t RecordWatchdog::nowMs() const {
    using namespace std::chrono;
    const SystemTime t = m_clock.nowUtc();
    const sys_days day{year_month_day{year{t.year}, month{t.month}, std::chrono::day{t.day}}};
    const auto time =
        day + hours{t.hour} + minutes{t.minute} + seconds{t.second} + milliseconds{t.millisecond};
    return time.time_since_epoch().count();
}

int RecordWatchdog::wholeSeconds(std::int64_t ms) {
    return static_cast<int>(std::max<std::int64_t>(ms, 0) / 1000);
}

} // namespace quorvane
