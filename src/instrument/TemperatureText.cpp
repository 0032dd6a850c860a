#include "instrument/TemperatureText.h"

#include <cstdio>

namespace quorvane {

std::string formatTemperature(double celsius) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", celsius);
    return buffer;
}

} // namespace quorvane
