#pragma once

#include "logging/EventLog.h"
#include "platform/Clock.h"
#include "platform/Timer.h"

#include <cstdint>

namespace quorvane {

// Tells the operator, by events only, when a logging run has gone quiet: no data record
// for three log intervals (at least 10 s), and again when records come back. One event
// per silence. It watches only between start() and stop().
class RecordWatchdog {
public:
    static constexpr int kMinimumSeconds = 10;
    static constexpr int kIntervalsOfSilence = 3;

    RecordWatchdog(Timer& timer, const Clock& clock, EventLog& events);
    RecordWatchdog(const RecordWatchdog&) = delete;
    RecordWatchdog& operator=(const RecordWatchdog&) = delete;

    // Start Run or Resume: silence is counted from now. A log interval of 0 or less sends
    // no data requests, so nothing is watched.
    void start(int logIntervalSeconds);
    // Finish, reset, port change: the watch ends without an event.
    void stop();
    // A data record was logged.
    void recordLogged();

    bool isWatching() const { return m_watching; }
    // Silence that ends the wait for a record, in seconds.
    static int thresholdSeconds(int logIntervalSeconds);

private:
    void timerTick();
    std::int64_t nowMs() const;
    static int wholeSeconds(std::int64_t ms);

    Timer& m_timer;
    const Clock& m_clock;
    EventLog& m_events;
    bool m_watching = false;
    bool m_silent = false;
    std::int64_t m_thresholdMs = 0;
    std::int64_t m_lastRecordMs = 0;
};

} // namespace quorvane
