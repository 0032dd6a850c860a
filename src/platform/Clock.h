#pragma once

#include <cstdint>

namespace quorvane {

// A clock reading in UTC, field by field.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t millisecond = 0;
};

class Clock {
public:
    virtual ~Clock() = default;

    virtual SystemTime nowUtc() const = 0;
};

} // namespace quorvane
