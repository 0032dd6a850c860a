#include "logging/EventStamp.h"

#include <cstdio>

namespace quorvane {

std::chrono::sys_seconds systemTimeToDate(const SystemTime& time) {
    using namespace std::chrono;
    const year_month_day ymd{year{time.year}, month{time.month}, day{time.day}};
    return sys_days{ymd} + hours{time.hour} + minutes{time.minute} + seconds{time.second};
}

std::string formatEventStamp(std::chrono::sys_seconds time) {
    using namespace std::chrono;
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto days = floor<std::chrono::days>(time);
    const year_month_day ymd{days};
    const hh_mm_ss hms{time - days};
    const unsigned monthIndex = static_cast<unsigned>(ymd.month()) - 1;
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%02u-%s-%04d %02d:%02d:%02d",
                  static_cast<unsigned>(ymd.day()), kMonths[monthIndex % 12],
                  static_cast<int>(ymd.year()), static_cast<int>(hms.hours().count()),
                  static_cast<int>(hms.minutes().count()), static_cast<int>(hms.seconds().count()));
    return buffer;
}

std::string formatEventStamp(const SystemTime& time) {
    return formatEventStamp(systemTimeToDate(time));
}

} // namespace quorvane
