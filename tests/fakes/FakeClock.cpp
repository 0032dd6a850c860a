#include "fakes/FakeClock.h"

#include "logging/SystemClock.h"

#include <chrono>

namespace quorvane::fakes {

FakeClock::FakeClock(FakeTimeline& timeline, std::int64_t startEpochMs)
    : m_timeline(timeline), m_startEpochMs(startEpochMs) {}

SystemTime FakeClock::nowUtc() const {
    return fromEpochMs(m_startEpochMs + m_timeline.nowMs());
}

SystemTime FakeClock::fromEpochMs(std::int64_t epochMs) {
    return SystemClock::toSystemTime(
        std::chrono::system_clock::time_point(std::chrono::milliseconds(epochMs)));
}

} // namespace quorvane::fakes
