#include "fakes/FakeClock.h"

#include <chrono>

namespace quorvane::fakes {

FakeClock::FakeClock(FakeTimeline& timeline, std::int64_t startEpochMs)
    : m_timeline(timeline), m_startEpochMs(startEpochMs) {}

SystemTime FakeClock::nowUtc() const {
    return fromEpochMs(m_startEpochMs + m_timeline.nowMs());
}

SystemTime FakeClock::fromEpochMs(std::int64_t epochMs) {
    using namespace std::chrono;
    const sys_time<milliseconds> tp{milliseconds{epochMs}};
    const auto days = floor<std::chrono::days>(tp);
    const year_month_day ymd{days};
    const hh_mm_ss hms{tp - days};
    SystemTime t;
    t.year = static_cast<std::uint16_t>(static_cast<int>(ymd.year()));
    t.month = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day()));
    t.dayOfWeek = static_cast<std::uint16_t>(weekday{days}.c_encoding());
    t.hour = static_cast<std::uint16_t>(hms.hours().count());
    t.minute = static_cast<std::uint16_t>(hms.minutes().count());
    t.second = static_cast<std::uint16_t>(hms.seconds().count());
    t.millisecond = static_cast<std::uint16_t>(hms.subseconds().count());
    return t;
}

} // namespace quorvane::fakes
