#include "logging/SystemClock.h"

namespace quorvane {

SystemTime SystemClock::nowUtc() const {
    return toSystemTime(std::chrono::system_clock::now());
}

SystemTime SystemClock::toSystemTime(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(when);
    const auto days = floor<std::chrono::days>(ms);
    const year_month_day ymd{days};
    const hh_mm_ss hms{ms - days};
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

} // namespace quorvane
