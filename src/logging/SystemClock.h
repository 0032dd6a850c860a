#pragma once

#include "platform/Clock.h"

#include <chrono>

namespace quorvane {

// The system clock, read in UTC.
class SystemClock : public Clock {
public:
    SystemTime nowUtc() const override;

    static SystemTime toSystemTime(std::chrono::system_clock::time_point when);
};

} // namespace quorvane
