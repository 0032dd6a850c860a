#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <string>

namespace quorvane {

// The clock reading as a date-time of whole seconds (day of week and milliseconds ignored).
std::chrono::sys_seconds systemTimeToDate(const SystemTime& time);

// "dd-mmm-yyyy hh:mm:ss", English month, 24-hour clock: always 20 characters.
std::string formatEventStamp(std::chrono::sys_seconds time);
std::string formatEventStamp(const SystemTime& time);

} // namespace quorvane
